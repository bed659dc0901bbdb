#pragma once

#include <string>

namespace tf {

// The project's own copy of the division structure, as the two byte strings it is saved
// as: the node list (tree part) and the item table (item-table part).
struct StructureSnapshot {
    std::string tree;
    std::string items;

    friend bool operator==(const StructureSnapshot&, const StructureSnapshot&) = default;
};

}  // namespace tf

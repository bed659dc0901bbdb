#pragma once

#include <optional>

#include "core/structure/division_item.h"
#include "core/structure/item_table.h"
#include "core/structure/structure_snapshot.h"

namespace tf {

// The built-in division structure as fresh byte strings.
StructureSnapshot defaultStructure();

// Both parts of a snapshot read back; nothing unless both parse and they have one item
// row per node.
struct Structure {
    DivisionTree tree;
    ItemTable items;
};
std::optional<Structure> parseStructure(const StructureSnapshot& snapshot);
StructureSnapshot serializeStructure(const Structure& structure);

}  // namespace tf

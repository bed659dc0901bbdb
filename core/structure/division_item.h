#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tf {

// One node of the division structure. The structure is a list in pre-order; a node's
// level alone gives the nesting (a child has its parent's level + 1).
struct DivisionItem {
    std::string name;
    std::int32_t number = 0;  // own code number; 0 adds no code segment
    std::int32_t level = 1;
    std::int32_t state = 0;  // display state in the tree
    std::int32_t image = 0;
    std::int32_t selectedImage = 0;
    friend bool operator==(const DivisionItem&, const DivisionItem&) = default;
};

using DivisionTree = std::vector<DivisionItem>;

// A node below level 1 without children is a work item (分项); a top node is a division
// (分部) even without children.
bool isWorkItem(const DivisionTree& tree, std::size_t index);
// Index of the node's parent; nothing for a top node.
std::optional<std::size_t> parentOf(const DivisionTree& tree, std::size_t index);

}  // namespace tf

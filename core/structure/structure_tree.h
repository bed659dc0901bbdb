#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/structure/division_item.h"

namespace tf {

// The tree part of a structure snapshot: per node in list order the GBK name and a 0 byte,
// then image, selectedImage, number, state and level as signed 32-bit little-endian.
std::string serializeTree(const DivisionTree& tree);

// Nothing when the bytes are not a node list: a cut record, a first node not at level 1,
// or a level that jumps more than one below its predecessor.
std::optional<DivisionTree> parseTree(std::string_view bytes);

}  // namespace tf

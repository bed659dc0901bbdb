#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/structure/division_item.h"

namespace tf {

// The work items that match what the user typed into 分项代号: those whose code begins with
// it ("030107", "0301"), then those whose code or name holds it ("107", "乳胶"), each group
// in the structure's order; ASCII case and spaces around the text aside. At most `most`.
std::vector<std::size_t> findWorkItems(const DivisionTree& tree, std::string_view typed,
                                       std::size_t most);

}  // namespace tf

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/structure/division_item.h"
#include "core/structure/item_table.h"

namespace tf {

// The code text of one node number as the editor shows it: 7 -> "07", 12 -> "12",
// 100 -> "100", 101 -> "01-1", 110 -> "01-10".
std::string codeSegment(std::int32_t number);

// The full code of a node: its ancestors' segments, then its own ("030101-1").
std::string itemCodeOfNode(const DivisionTree& tree, std::size_t index);

// The node number for a typed code text: "01-5" -> 105, "05" -> 5, "" -> 0.
std::int32_t parseCodeNumber(std::string_view text);

// The first item-table row (0-based, row k belongs to node k) whose code equals `code`.
std::optional<std::size_t> findItemRowByCode(const ItemTable& items, std::string_view code);

}  // namespace tf

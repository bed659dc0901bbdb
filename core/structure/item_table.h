#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// One row of the item table; row k belongs to the k-th node of the structure.
struct ItemRow {
    std::string labourPrice;     // 分项包工单价, e.g. "1.00元/平方米"
    std::string machineryFee;    // 机械使用费
    std::string managementFee;   // 管理费
    std::string code;            // the full code of a work item below level 1
    std::string currentProcess;  // a serialised LinkTable; empty = none yet
    std::string defaultProcess;  // a serialised LinkTable; empty = none
    friend bool operator==(const ItemRow&, const ItemRow&) = default;
};

using ItemTable = std::vector<ItemRow>;

// "TFITEMS", u32 version, u32 rows, per row four sized GBK texts and two sized byte
// strings, then a CRC-32 of everything before it.
std::string serializeItemTable(const ItemTable& table);
std::optional<ItemTable> parseItemTable(std::string_view bytes);

}  // namespace tf

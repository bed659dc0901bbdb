#pragma once

#include <cstdint>
#include <string>

#include "core/grid/grid.h"

namespace tf {

// Columns of a LinkTable: the materials a work item's process consumes.
namespace LinkColumn {
inline constexpr int kNumber = 0;      // №
inline constexpr int kLinked = 1;      // 关联, a check box
inline constexpr int kName = 2;        // 材料名称
inline constexpr int kUsage = 3;       // 单位用量, 4 decimals
inline constexpr int kUnit = 4;        // 计量单位
inline constexpr int kNote = 5;        // 说明
inline constexpr int kMaterialId = 6;  // 关联号, hidden
inline constexpr int kCount = 7;
}  // namespace LinkColumn

inline constexpr int kFreshLinkRows = 14;

struct MaterialLink {
    bool linked = false;
    std::string materialName;
    double unitUsage = 0;
    std::string unit;
    std::string note;
    std::int32_t materialId = 0;  // category × 1000 + entry; 0 = never linked
};

// A fresh link table: the heading row and 13 numbered empty rows.
Grid makeLinkTable();
MaterialLink readLink(const Grid& table, int row);

}  // namespace tf

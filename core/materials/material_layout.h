#pragma once

#include "core/grid/grid.h"

namespace tf {

// Columns of 材料表. Row 0 is the heading; data rows start at 1.
namespace MaterialColumn {
inline constexpr int kNumber = 0;    // 序号
inline constexpr int kCategory = 1;  // 类别
inline constexpr int kName = 2;      // 材料名称
inline constexpr int kSpec = 3;      // 最小规格
inline constexpr int kUnit = 4;      // 单位
inline constexpr int kPrice = 5;     // 单价
inline constexpr int kNote = 6;      // 说明
inline constexpr int kId = 7;        // materialId, hidden
inline constexpr int kCount = 8;
}  // namespace MaterialColumn

inline constexpr int kMaterialFreshRows = 24;
inline constexpr Rgb kMaterialBand{242, 242, 242};

// The fresh material table: heading, 23 numbered data rows, widths, kinds and colours.
void initMaterialTable(Grid& materials);

// The shading of every data row as it normally is, markers gone.
void paintMaterialBands(Grid& materials);

// Re-applies the pick-list kind of 类别 (after loading).
void applyMaterialColumnKinds(Grid& materials);

}  // namespace tf

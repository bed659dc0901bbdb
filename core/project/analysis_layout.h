#pragma once

#include "core/grid/grid.h"

namespace tf {

struct ProjectDocument;

// Columns of 分析表. Rows 0 and 1 are headings; data rows start at 2.
namespace AnalysisColumn {
inline constexpr int kNumber = 0;            // 序号
inline constexpr int kLocation = 1;          // 部位名称
inline constexpr int kDrawing = 2;           // 图纸索引
inline constexpr int kStructureSize = 3;     // 结构尺寸
inline constexpr int kItemCode = 4;          // 分项代号
inline constexpr int kItemSize = 5;          // 分项尺寸
inline constexpr int kWorkQuantity = 6;      // 工程数量
inline constexpr int kMaterialName = 7;      // 使用材料名称
inline constexpr int kMaterialQuantity = 8;  // 材料数量
inline constexpr int kMaterialUnit = 9;      // 材料单位
inline constexpr int kNote = 10;             // 说明
inline constexpr int kFirstHidden = 11;      // 11–13: working columns, width 0
inline constexpr int kMaterialId = 12;       // the row's materialId
inline constexpr int kUnitUsage = 13;        // the row's unit usage
inline constexpr int kCount = 14;
}  // namespace AnalysisColumn

inline constexpr int kAnalysisHeadingRows = 2;
inline constexpr int kAnalysisFreshRows = 23;
inline constexpr Rgb kNumberGrey{128, 128, 128};
inline constexpr Rgb kQuantityRed{128, 0, 0};
inline constexpr Rgb kAnalysisTint{0xEF, 0xF4, 0xFE};
// Cells that need the user's attention, in every table.
inline constexpr Rgb kMarkerColour{255, 181, 220};

// Repaints the tint of columns 7–10 of data rows first..last (even grid rows tinted).
void paintAnalysisBands(Grid& analysis, int first, int last);

// The fresh analysis table (headings, merges, 21 numbered data rows, styles, row tint); the
// attachment table starts over with it.
void initAnalysisTable(ProjectDocument& document);

// Gives columns 11–13 width 0 again.
void hideAnalysisWorkingColumns(Grid& analysis);

}  // namespace tf

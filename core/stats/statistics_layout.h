#pragma once

#include "core/grid/grid.h"

namespace tf {

// Columns of 统计表, the material list of the all-materials and filtered views.
namespace SummaryColumn {
inline constexpr int kNumber = 0;    // 序号
inline constexpr int kCategory = 1;  // 类别
inline constexpr int kName = 2;      // 使用材料名称
inline constexpr int kQuantity = 3;  // 材料数量
inline constexpr int kUnit = 4;      // 单位
inline constexpr int kPrice = 5;     // 单价
inline constexpr int kTotal = 6;     // 合计 = 材料数量 × 单价
inline constexpr int kNote = 7;      // 说明
inline constexpr int kCount = 8;
}  // namespace SummaryColumn

// Columns of 分统计表 while a work item is selected.
namespace ItemColumn {
inline constexpr int kNumber = 0;
inline constexpr int kName = 1;          // 材料名称
inline constexpr int kQuantity = 2;      // 材料数量
inline constexpr int kUnit = 3;          // 单位
inline constexpr int kPrice = 4;         // 单价
inline constexpr int kMaterialCost = 5;  // 材料费小计 = 材料数量 × 单价
inline constexpr int kWorkQuantity = 6;  // 工程数量
inline constexpr int kLabourPrice = 7;   // 分项包工单价
inline constexpr int kLabourCost = 8;    // 工费小计 = 工程数量 × 分项包工单价
inline constexpr int kMachinery = 9;     // 机械使用费
inline constexpr int kManagement = 10;   // 管理费
inline constexpr int kTotal = 11;        // 合计
inline constexpr int kNote = 12;         // 说明
inline constexpr int kCount = 13;
}  // namespace ItemColumn

// Columns of 分统计表 while a division or sub-division is selected.
namespace DivisionColumn {
inline constexpr int kNumber = 0;
inline constexpr int kCode = 1;          // 代号
inline constexpr int kMaterialCost = 2;  // 材料费
inline constexpr int kWorkQuantity = 3;  // 工程数量
inline constexpr int kLabourPrice = 4;   // 分项包工单价
inline constexpr int kLabourCost = 5;    // 工费小计
inline constexpr int kMachinery = 6;     // 机械使用费
inline constexpr int kManagement = 7;    // 管理费
inline constexpr int kTotal = 8;         // 合计
inline constexpr int kNote = 9;          // 说明
inline constexpr int kCount = 10;
}  // namespace DivisionColumn

// Columns of 累计统计表, the per-location costs of the filtered view.
namespace CumulativeColumn {
inline constexpr int kNumber = 0;
inline constexpr int kLocation = 1;      // 部位名称
inline constexpr int kCode = 2;          // 代号
inline constexpr int kMaterialCost = 3;  // 材料费
inline constexpr int kWorkQuantity = 4;  // 工程数量
inline constexpr int kLabourPrice = 5;   // 分项包工单价
inline constexpr int kLabourCost = 6;    // 工费小计
inline constexpr int kMachinery = 7;     // 机械使用费
inline constexpr int kManagement = 8;    // 管理费
inline constexpr int kTotal = 9;         // 合计
inline constexpr int kNote = 10;         // 说明
inline constexpr int kCount = 11;
}  // namespace CumulativeColumn

// A statistics grid never shows fewer rows than this, heading included.
inline constexpr int kStatisticsFreshRows = 24;
inline constexpr Rgb kSummaryBand{238, 249, 238};
inline constexpr Rgb kNumberColumnBackground{255, 255, 255};
inline constexpr std::string_view kSubtotalLabel = "小计：";

enum class StatisticsLayout { Summary, Item, Division, Cumulative };

// Starts the grid over in the layout with `rows` rows (heading included): headings,
// column kinds and decimals, computed columns, colours, alignment and 序号 numbered 1…
void layOutStatistics(Grid& grid, StatisticsLayout layout, int rows);

// As layOutStatistics, for a table too long to lay out first and fill after: only the
// heading and the data rows whose make-up repeats down the table are made up; every data
// row is then written once with writeStatisticsRow (as layOutStatistics writes them blank).
void layOutLongStatistics(Grid& grid, StatisticsLayout layout, int rows);
// Data row `row` of such a table in one piece: its 序号, then `texts` from column 1 on, with
// the make-up of its place in the table.
void writeStatisticsRow(Grid& grid, int row, std::initializer_list<std::string_view> texts);

// 统计表's data rows banded again: columns from `left` to the last, even rows tinted.
void paintSummaryBands(Grid& summary, int left);

// Only 说明 of the data rows takes in-place edits in the statistics grids.
bool isEditableStatisticsCell(const Grid& grid, int row, int column);

// The "小计：" row: the label in `labelColumn` (merged up to `labelRight`), right-aligned,
// and each of `sumColumns` holding the sum of that column over rows first…last.
void addSubtotalRow(Grid& grid, int row, int labelColumn, int labelRight,
                    std::initializer_list<int> sumColumns, int first, int last);

}  // namespace tf

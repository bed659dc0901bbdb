#pragma once

#include "core/shell/commands.h"
#include "core/stats/statistics.h"

namespace tf {

enum class StatisticsGrid { Summary, ItemSummary, Cumulative };

// Whether a command of the 统计 pop-up can be chosen after a right press on `row` of the
// grid; nothing when the pop-up does not open there (outside the table's rows).
// "刷新" in one of the statistics grids: recalculated, and 统计表's bands painted again.
void refreshStatisticsGrid(Statistics& statistics, StatisticsGrid grid, Prompter& prompter);

// The material cell a Ctrl + double click on `row` looks up with 查找明细: 使用材料名称 of 统计表
// or 材料名称 of 分统计表, when it is not blank; nothing elsewhere.
std::optional<CellPos> detailsCellAt(const Statistics& statistics, StatisticsGrid grid, int row);

// Delete in a statistics grid: clears the 说明 cell under the cursor; anywhere else nothing.
// True when a note was cleared.
bool deleteNoteAtCursor(Grid& grid);

std::optional<bool> statisticsCommandEnabled(const Statistics& statistics, StatisticsGrid grid,
                                             int row, Command command);

}  // namespace tf

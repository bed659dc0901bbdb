#pragma once

#include "core/shell/commands.h"
#include "core/stats/statistics.h"

namespace tf {

enum class StatisticsGrid { Summary, ItemSummary, Cumulative };

// Whether a command of the 统计 pop-up can be chosen after a right press on `row` of the
// grid; nothing when the pop-up does not open there (outside the table's rows).
// "刷新" in one of the statistics grids: recalculated, and 统计表's bands painted again.
void refreshStatisticsGrid(Statistics& statistics, StatisticsGrid grid, Prompter& prompter);

std::optional<bool> statisticsCommandEnabled(const Statistics& statistics, StatisticsGrid grid,
                                             int row, Command command);

}  // namespace tf

#pragma once

#include "core/shell/commands.h"
#include "core/stats/statistics.h"

namespace tf {

enum class StatisticsGrid { Summary, ItemSummary, Cumulative };

// Whether a command of the 统计 pop-up can be chosen after a right press on `row` of the
// grid; nothing when the pop-up does not open there (outside the table's rows).
std::optional<bool> statisticsCommandEnabled(const Statistics& statistics, StatisticsGrid grid,
                                             int row, Command command);

}  // namespace tf

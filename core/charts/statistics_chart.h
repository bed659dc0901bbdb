#pragma once

#include <optional>
#include <string>

#include "core/charts/bar_chart.h"
#include "core/stats/statistics.h"

namespace tf {

inline constexpr std::size_t kChartedMaterials = 15;
inline constexpr std::size_t kChartedLocations = 30;

// The chart of a statistics table, from the figures the table already holds; nothing for
// another grid:
// - 统计表: the 15 materials of the largest 合计, then "其他"; one series per category (the
//   user's statistic row is no material);
// - 分统计表: each of its rows, or the work item shown, stacked by 材料费, 人工费, 机械使用费
//   and 管理费;
// - 累计统计表: the 30 ticked locations of the largest 合计, then "其他".
std::optional<BarChart> tableChart(const Statistics& statistics, const Grid& table);

// The chart of the view shown.
BarChart statisticsChart(const Statistics& statistics);

}  // namespace tf

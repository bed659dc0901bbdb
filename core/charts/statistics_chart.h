#pragma once

#include <optional>
#include <string>

#include "core/charts/bar_chart.h"
#include "core/stats/statistics.h"

namespace tf {

inline constexpr std::size_t kChartedMaterials = 15;
inline constexpr std::size_t kChartedLocations = 30;

// The charts of the statistics tables, from the figures the tables already hold:
// 统计表: the 15 materials of the largest 合计, then "其他"; one series per category (the
// user's statistic row is no material);
BarChart materialsChart(const Grid& summary, std::optional<int> statisticRow);
// 分统计表: each of its rows, or the work item shown, stacked by 材料费, 人工费, 机械使用费
// and 管理费;
BarChart divisionChart(const Grid& itemSummary, const std::string& heading);
// 累计统计表: the 30 ticked locations of the largest 合计, then "其他".
BarChart locationsChart(const Grid& cumulative);

// The chart of the view shown.
BarChart statisticsChart(const Statistics& statistics);

}  // namespace tf

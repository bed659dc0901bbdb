#pragma once

#include <string>
#include <vector>

#include "core/stats/statistics.h"

namespace tf {

// One bar of a chart: its label, one value per series (stacked), and the rows of the
// statistics grid it stands for (a click goes to them; -1 for "其他").
struct ChartBar {
    std::string label;
    std::vector<double> values;
    int firstRow = -1;
    int lastRow = -1;
    double total() const;
};

struct StatisticsChart {
    std::string title;
    std::vector<std::string> series;
    std::vector<ChartBar> bars;
};

// The chart of the view shown, from the figures its grid already holds:
// - 所有材料统计: the 15 materials of the largest 合计, then "其他"; one series per category;
// - 分部分项统计: each row of 分统计表 (or the work item shown) stacked by 材料费, 人工费,
//   机械使用费 and 管理费;
// - 筛选统计: the 30 ticked locations of the largest 合计, then "其他".
StatisticsChart statisticsChart(const Statistics& statistics);

inline constexpr std::size_t kChartedMaterials = 15;
inline constexpr std::size_t kChartedLocations = 30;
inline constexpr std::string_view kOtherBar = "其他";

}  // namespace tf

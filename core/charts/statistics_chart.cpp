#include "core/charts/statistics_chart.h"

#include <algorithm>

#include "core/base/text_util.h"
#include "core/stats/statistics_layout.h"

namespace tf {
namespace {

// A text column merged over its rows holds its text in the first: the rows below take it.
// (A view into the grid, which the chart is made from at once.)
std::string_view carried(const Grid& g, int row, int column, std::string_view& last) {
    if (const std::string_view text = trimSpaces(g.text(row, column)); !text.empty()) {
        last = text;
    }
    return last;
}

// The row of "小计：" in `column`, or the row after the last.
int subtotalRow(const Grid& g, int column) {
    for (int r = 1; r < g.rowCount(); ++r) {
        if (trimSpaces(g.text(r, column)) == kSubtotalLabel) {
            return r;
        }
    }
    return g.rowCount();
}

// The four kinds of cost of rows first…last, one series each.
std::vector<std::vector<GridSpan>> costSpans(std::initializer_list<int> columns, int first,
                                             int last) {
    std::vector<std::vector<GridSpan>> sums;
    for (const int column : columns) {
        sums.push_back({{column, first, last}});
    }
    return sums;
}

BarChart materialsChart(const Grid& g, std::optional<int> statisticRow) {
    using namespace SummaryColumn;
    BarChart chart{"材料费", {}, {}};
    std::string_view category;
    for (int r = 1; r < g.rowCount(); ++r) {
        const std::string_view group = carried(g, r, kCategory, category);
        if (isBlank(g.text(r, kName)) || r == statisticRow) {
            continue;
        }
        auto at = std::ranges::find(chart.series, group);
        if (at == chart.series.end()) {
            chart.series.emplace_back(group);
            at = chart.series.end() - 1;
        }
        // Each bar in its category's series only, so that it takes the category's colour.
        std::vector<std::vector<GridSpan>> sums(chart.series.size());
        sums[static_cast<std::size_t>(at - chart.series.begin())] = {{kTotal, r, r}};
        chart.bars.push_back(
            sumBar(g, std::string(trimSpaces(g.text(r, kName))), std::move(sums), r, r));
    }
    for (ChartBar& bar : chart.bars) {
        bar.values.resize(chart.series.size(), 0);
        bar.sums.resize(chart.series.size());
    }
    keepLargest(chart, kChartedMaterials);
    if (chart.bars.size() > kChartedMaterials) {
        chart.title += "（前 " + std::to_string(kChartedMaterials) + " 种）";
    }
    return chart;
}

BarChart divisionChart(const Grid& g, const std::string& heading) {
    BarChart chart{heading, {"材料费", "人工费", "机械使用费", "管理费"}, {}};
    if (g.columnCount() == ItemColumn::kCount) {
        // One work item: its materials and its fees, the rows its "小计：" adds up, make one bar.
        using namespace ItemColumn;
        const int last = subtotalRow(g, kName) - 1;
        if (last >= 1) {
            chart.bars.push_back(
                sumBar(g, heading,
                       costSpans({kMaterialCost, kLabourCost, kMachinery, kManagement}, 1, last), 1,
                       last));
        }
        return chart;
    }
    using namespace DivisionColumn;
    for (int r = 1; r < g.rowCount(); ++r) {
        const std::string_view code = trimSpaces(g.text(r, kCode));
        if (code.empty() || code == kSubtotalLabel) {
            continue;
        }
        chart.bars.push_back(
            sumBar(g, std::string(code),
                   costSpans({kMaterialCost, kLabourCost, kMachinery, kManagement}, r, r), r, r));
    }
    return chart;
}

BarChart locationsChart(const Grid& g) {
    using namespace CumulativeColumn;
    BarChart chart{"各部位费用", {"合计"}, {}};
    std::string_view location;
    const auto close = [&](int first, int last) {
        chart.bars.push_back(
            sumBar(g, std::string(location), {{{kTotal, first, last}}}, first, last));
    };
    int first = -1;
    std::string_view name;
    for (int r = 1; r < g.rowCount(); ++r) {
        const std::string_view here = carried(g, r, kLocation, name);
        const std::string_view code = trimSpaces(g.text(r, kCode));
        const bool item = !code.empty() && code != kSubtotalLabel && here != kSubtotalLabel;
        if (first >= 0 && (!item || here != location)) {
            close(first, r - 1);
            first = -1;
        }
        if (item && first < 0) {
            first = r;
            location = here;
        }
    }
    if (first >= 0) {
        close(first, g.rowCount() - 1);
    }
    keepLargest(chart, kChartedLocations);
    if (chart.bars.size() > kChartedLocations) {
        chart.title += "（前 " + std::to_string(kChartedLocations) + " 个）";
    }
    return chart;
}

}  // namespace

std::optional<BarChart> tableChart(const Statistics& statistics, const Grid& table) {
    if (&table == &statistics.summary) {
        return materialsChart(table, statistics.statisticRow);
    }
    if (&table == &statistics.itemSummary) {
        return divisionChart(table, statistics.divisionHeading);
    }
    if (&table == &statistics.cumulative) {
        return locationsChart(table);
    }
    return std::nullopt;
}

BarChart statisticsChart(const Statistics& statistics) {
    switch (statistics.view) {
        case StatisticsView::Division:
            return *tableChart(statistics, statistics.itemSummary);
        case StatisticsView::Filtered:
            return *tableChart(statistics, statistics.cumulative);
        case StatisticsView::AllMaterials:
            break;
    }
    return *tableChart(statistics, statistics.summary);
}

}  // namespace tf

#include "core/charts/statistics_chart.h"

#include <algorithm>
#include <numeric>

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/stats/statistics_layout.h"

namespace tf {
namespace {

double numberAt(const Grid& g, int row, int column) {
    return parseNumber(g.text(row, column));
}

// The largest `kept` bars in falling order, the rest added up into one "其他".
void keepLargest(std::vector<ChartBar>& bars, std::size_t kept) {
    std::stable_sort(bars.begin(), bars.end(),
                     [](const ChartBar& a, const ChartBar& b) { return a.total() > b.total(); });
    if (bars.size() <= kept) {
        return;
    }
    ChartBar other{std::string(kOtherBar), std::vector<double>(bars.front().values.size(), 0)};
    for (std::size_t i = kept; i < bars.size(); ++i) {
        for (std::size_t s = 0; s < other.values.size(); ++s) {
            other.values[s] += bars[i].values[s];
        }
    }
    bars.resize(kept);
    bars.push_back(std::move(other));
}

// A text column merged over its rows holds its text in the first: the rows below take it.
std::string carried(const Grid& g, int row, int column, std::string& last) {
    if (const std::string_view text = trimSpaces(g.text(row, column)); !text.empty()) {
        last = std::string(text);
    }
    return last;
}

StatisticsChart materialsChart(const Grid& g) {
    using namespace SummaryColumn;
    StatisticsChart chart{"材料费（前 " + std::to_string(kChartedMaterials) + " 种）", {}, {}};
    std::string category;
    std::vector<std::size_t> seriesOf;
    for (int r = 1; r < g.rowCount(); ++r) {
        const std::string group = carried(g, r, kCategory, category);
        if (isBlank(g.text(r, kName))) {
            continue;  // blank rows, and statistic rows
        }
        auto at = std::ranges::find(chart.series, group);
        if (at == chart.series.end()) {
            chart.series.push_back(group);
            at = chart.series.end() - 1;
        }
        seriesOf.push_back(static_cast<std::size_t>(at - chart.series.begin()));
        chart.bars.push_back({std::string(trimSpaces(g.text(r, kName))), {}, r, r});
        chart.bars.back().values.assign(1, numberAt(g, r, kTotal));  // spread below
    }
    // Each bar in its category's series only, so the bars take the category's colour.
    for (std::size_t i = 0; i < chart.bars.size(); ++i) {
        const double value = chart.bars[i].values[0];
        chart.bars[i].values.assign(chart.series.size(), 0);
        chart.bars[i].values[seriesOf[i]] = value;
    }
    keepLargest(chart.bars, kChartedMaterials);
    return chart;
}

StatisticsChart divisionChart(const Statistics& s) {
    const Grid& g = s.itemSummary;
    StatisticsChart chart{s.divisionHeading, {"材料费", "人工费", "机械使用费", "管理费"}, {}};
    if (g.columnCount() == ItemColumn::kCount) {
        // One work item: its materials, then its fees, make one bar.
        using namespace ItemColumn;
        ChartBar bar{s.divisionHeading, std::vector<double>(4, 0), -1, -1};
        for (int r = 1; r < g.rowCount(); ++r) {
            if (isBlank(g.text(r, kName)) && isBlank(g.text(r, kWorkQuantity))) {
                continue;
            }
            bar.firstRow = bar.firstRow < 0 ? r : bar.firstRow;
            bar.lastRow = r;
            bar.values[0] += numberAt(g, r, kMaterialCost);
            bar.values[1] += numberAt(g, r, kLabourCost);
            bar.values[2] += numberAt(g, r, kMachinery);
            bar.values[3] += numberAt(g, r, kManagement);
        }
        if (bar.firstRow >= 0) {
            chart.bars.push_back(std::move(bar));
        }
        return chart;
    }
    using namespace DivisionColumn;
    for (int r = 1; r < g.rowCount(); ++r) {
        const std::string_view code = trimSpaces(g.text(r, kCode));
        if (code.empty() || code == kSubtotalLabel) {
            continue;
        }
        chart.bars.push_back({std::string(code),
                              {numberAt(g, r, kMaterialCost), numberAt(g, r, kLabourCost),
                               numberAt(g, r, kMachinery), numberAt(g, r, kManagement)},
                              r,
                              r});
    }
    return chart;
}

StatisticsChart locationsChart(const Grid& g) {
    using namespace CumulativeColumn;
    StatisticsChart chart{
        "各部位费用（前 " + std::to_string(kChartedLocations) + " 个）", {"合计"}, {}};
    std::string location;
    for (int r = 1; r < g.rowCount(); ++r) {
        const std::string name = carried(g, r, kLocation, location);
        const std::string_view code = trimSpaces(g.text(r, kCode));
        if (code.empty() || code == kSubtotalLabel || name == kSubtotalLabel) {
            continue;
        }
        if (chart.bars.empty() || chart.bars.back().label != name ||
            chart.bars.back().lastRow != r - 1) {
            chart.bars.push_back({name, {0}, r, r});
        }
        chart.bars.back().values[0] += numberAt(g, r, kTotal);
        chart.bars.back().lastRow = r;
    }
    keepLargest(chart.bars, kChartedLocations);
    return chart;
}

}  // namespace

double ChartBar::total() const {
    return std::accumulate(values.begin(), values.end(), 0.0);
}

StatisticsChart statisticsChart(const Statistics& statistics) {
    switch (statistics.view) {
        case StatisticsView::Division:
            return divisionChart(statistics);
        case StatisticsView::Filtered:
            return locationsChart(statistics.cumulative);
        case StatisticsView::AllMaterials:
            break;
    }
    return materialsChart(statistics.summary);
}

}  // namespace tf

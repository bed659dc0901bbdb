#include "core/charts/bar_chart.h"

#include <algorithm>
#include <numeric>

#include "core/base/number_text.h"

namespace tf {
namespace {

double spanSum(const Grid& g, const std::vector<GridSpan>& spans) {
    double sum = 0;
    for (const GridSpan& span : spans) {
        for (int r = std::max(span.firstRow, 0); r <= std::min(span.lastRow, g.rowCount() - 1);
             ++r) {
            sum += parseNumber(g.text(r, span.column));
        }
    }
    return sum;
}

// The spans in row order, neighbours of one column joined: the rest of a long table is a
// handful of runs between the bars kept.
std::vector<GridSpan> joined(std::vector<GridSpan> spans) {
    std::ranges::sort(spans, [](const GridSpan& a, const GridSpan& b) {
        return a.column != b.column ? a.column < b.column : a.firstRow < b.firstRow;
    });
    std::vector<GridSpan> runs;
    for (const GridSpan& span : spans) {
        if (!runs.empty() && runs.back().column == span.column &&
            runs.back().lastRow + 1 >= span.firstRow) {
            runs.back().lastRow = std::max(runs.back().lastRow, span.lastRow);
        } else {
            runs.push_back(span);
        }
    }
    return runs;
}

}  // namespace

double ChartBar::total() const {
    return std::accumulate(values.begin(), values.end(), 0.0);
}

ChartBar sumBar(const Grid& grid, std::string label, std::vector<std::vector<GridSpan>> sums,
                int firstRow, int lastRow) {
    ChartBar bar{std::move(label), {}, std::move(sums), firstRow, lastRow};
    for (const auto& spans : bar.sums) {
        bar.values.push_back(spanSum(grid, spans));
    }
    return bar;
}

void keepLargest(BarChart& chart, std::size_t kept) {
    std::stable_sort(chart.bars.begin(), chart.bars.end(),
                     [](const ChartBar& a, const ChartBar& b) { return a.total() > b.total(); });
    if (chart.bars.size() <= kept) {
        return;
    }
    const std::size_t series = chart.series.size();
    ChartBar other{std::string(kOtherBar), std::vector<double>(series, 0),
                   std::vector<std::vector<GridSpan>>(series)};
    for (std::size_t i = kept; i < chart.bars.size(); ++i) {
        ChartBar& bar = chart.bars[i];
        for (std::size_t s = 0; s < series && s < bar.values.size(); ++s) {
            other.values[s] += bar.values[s];
            if (s < bar.sums.size()) {
                other.sums[s].insert(other.sums[s].end(), bar.sums[s].begin(), bar.sums[s].end());
            }
        }
    }
    for (auto& spans : other.sums) {
        spans = joined(std::move(spans));
    }
    chart.bars.resize(kept);
    chart.bars.push_back(std::move(other));
}

}  // namespace tf

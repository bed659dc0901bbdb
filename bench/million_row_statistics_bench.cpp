// The window's statistics on the 1,000,000-row sample (128,000 locations): the first visit
// to 统计表 (the statistics built and the page filled), one tick of a location in 勾选统计,
// a price committed in 材料表, and each view's chart taken from the statistics built and
// drawn.
#include <benchmark/benchmark.h>

#include <QTreeWidget>

#include "cli/sample_project.h"
#include "core/charts/statistics_chart.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "gui/charts/statistics_chart_view.h"
#include "gui/stats/statistics_page.h"

namespace {

struct MillionRows {
    tf::ProjectDocument document;
    tf::SilentPrompter quiet;

    MillionRows() { tf::cli::buildSampleProject(document, 128'000); }
};

MillionRows& sample() {
    static MillionRows rows;
    return rows;
}

void BM_FirstVisitToStatisticsOfMillionRows(benchmark::State& state) {
    MillionRows& s = sample();
    tf::Statistics statistics;
    tf::gui::StatisticsPage page(s.document, statistics, s.quiet);
    page.resize(1200, 800);
    page.show();
    for (auto _ : state) {
        tf::resetStatistics(statistics);
        tf::ensureStatisticsCurrent(s.document, statistics, s.quiet);
        page.reload();
    }
}
BENCHMARK(BM_FirstVisitToStatisticsOfMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TickOneLocationOfMillionRows(benchmark::State& state) {
    MillionRows& s = sample();
    tf::Statistics statistics;
    tf::resetStatistics(statistics);
    tf::rebuildStatistics(s.document, statistics, s.quiet);
    tf::gui::StatisticsPage page(s.document, statistics, s.quiet);
    page.resize(1200, 800);
    page.show();
    page.chooseView(tf::StatisticsView::Filtered);
    auto* tree = page.findChild<QTreeWidget*>("树型框2");
    QTreeWidgetItem* location = tree->topLevelItem(tree->topLevelItemCount() / 2);
    for (auto _ : state) {
        location->setCheckState(
            0, location->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}
BENCHMARK(BM_TickOneLocationOfMillionRows)->Unit(benchmark::kMillisecond);

void BM_PriceCommittedWithMillionRows(benchmark::State& state) {
    MillionRows& s = sample();
    int round = 0;
    for (auto _ : state) {
        s.document.materials.setText(5, tf::MaterialColumn::kPrice, ++round % 2 ? "12.5" : "13");
        tf::commitMaterialEdit(s.document, 5, tf::MaterialColumn::kPrice, s.quiet);
    }
}
BENCHMARK(BM_PriceCommittedWithMillionRows)->Unit(benchmark::kMillisecond);

// Argument: the view (0 所有材料统计, 1 分部分项统计 of the whole structure, 2 筛选统计 with
// every location ticked).
void BM_ChartOfMillionRows(benchmark::State& state) {
    MillionRows& s = sample();
    tf::Statistics statistics;
    tf::resetStatistics(statistics);
    tf::rebuildStatistics(s.document, statistics, s.quiet);
    const auto view = static_cast<tf::StatisticsView>(state.range(0));
    tf::chooseStatisticsView(s.document, statistics, view, s.quiet);
    if (view == tf::StatisticsView::Filtered) {
        tf::tickEveryFilterLocation(s.document, statistics, true, s.quiet);
    }
    tf::gui::StatisticsChartView chart;
    chart.resize(900, 700);
    chart.show();
    for (auto _ : state) {
        chart.showChart(tf::statisticsChart(statistics));
        benchmark::DoNotOptimize(chart.grab());
    }
    state.counters["bars"] = static_cast<double>(chart.shownChart().bars.size());
}
BENCHMARK(BM_ChartOfMillionRows)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

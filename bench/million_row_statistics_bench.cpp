// The window's statistics on the 1,000,000-row sample (128,000 locations): the first visit
// to 统计表 (the statistics built and the page filled), one tick of a location in 勾选统计,
// and a price committed in 材料表.
#include <benchmark/benchmark.h>

#include <QTreeWidget>

#include "cli/sample_project.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
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

}  // namespace

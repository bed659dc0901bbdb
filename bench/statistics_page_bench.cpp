// The statistics page over the 10,000-location sample: filling both trees and the grids,
// and one tick of a location.
#include <benchmark/benchmark.h>

#include <QTreeWidget>

#include "cli/sample_project.h"
#include "gui/stats/statistics_page.h"

namespace {

struct SamplePage {
    tf::ProjectDocument document;
    tf::Statistics statistics;
    tf::SilentPrompter quiet;

    SamplePage() {
        tf::cli::buildSampleProject(document, 10'000);
        tf::resetStatistics(statistics);
        tf::rebuildStatistics(document, statistics, quiet);
    }
};

SamplePage& sample() {
    static SamplePage page;
    return page;
}

void BM_StatisticsPageReload10kLocations(benchmark::State& state) {
    SamplePage& s = sample();
    tf::gui::StatisticsPage page(s.document, s.statistics, s.quiet);
    page.resize(1200, 800);
    page.show();
    for (auto _ : state) {
        page.reload();
    }
    state.counters["tick_nodes"] = static_cast<double>(s.statistics.filter.nodeCount());
}
BENCHMARK(BM_StatisticsPageReload10kLocations)->Unit(benchmark::kMillisecond);

void BM_TickOneLocation10kLocations(benchmark::State& state) {
    SamplePage& s = sample();
    tf::gui::StatisticsPage page(s.document, s.statistics, s.quiet);
    page.chooseView(tf::StatisticsView::Filtered);
    auto* tree = page.findChild<QTreeWidget*>("树型框2");
    QTreeWidgetItem* location = tree->topLevelItem(0);
    for (auto _ : state) {
        location->setCheckState(
            0, location->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}
BENCHMARK(BM_TickOneLocation10kLocations)->Unit(benchmark::kMillisecond);

}  // namespace

#include <benchmark/benchmark.h>

#include "cli/sample_project.h"
#include "core/base/prompter.h"
#include "core/project/project_document.h"
#include "core/stats/filtered_statistics.h"
#include "core/stats/statistics.h"
#include "core/structure/default_structure.h"

namespace {

// The sample project with 10,000 locations (about 100,000 analysis rows).
const tf::ProjectDocument& sampleProject() {
    static const tf::ProjectDocument doc = [] {
        tf::ProjectDocument d;
        tf::cli::buildSampleProject(d, 10'000);
        return d;
    }();
    return doc;
}

void BM_RebuildStatistics10kLocations(benchmark::State& state) {
    const tf::ProjectDocument& doc = sampleProject();
    tf::SilentPrompter quiet;
    tf::Statistics statistics;
    tf::resetStatistics(statistics);
    statistics.view = tf::StatisticsView::Division;
    for (auto _ : state) {
        tf::rebuildStatistics(doc, statistics, quiet);
    }
    state.counters["rows"] = doc.analysis.rowCount();
}
BENCHMARK(BM_RebuildStatistics10kLocations)->Unit(benchmark::kMillisecond);

// The two views the command line prints, each as a user asks for it: the all-materials view,
// and the filtered view with its tick tree built and every location ticked.
void BM_AllMaterialsView10kLocations(benchmark::State& state) {
    const tf::ProjectDocument& doc = sampleProject();
    tf::SilentPrompter quiet;
    for (auto _ : state) {
        tf::Statistics statistics;
        tf::resetStatistics(statistics);
        tf::chooseStatisticsView(doc, statistics, tf::StatisticsView::AllMaterials, quiet);
        benchmark::DoNotOptimize(statistics.summary.rowCount());
    }
}
BENCHMARK(BM_AllMaterialsView10kLocations)->Unit(benchmark::kMillisecond);

void BM_FilteredViewAllTicked10kLocations(benchmark::State& state) {
    const tf::ProjectDocument& doc = sampleProject();
    tf::SilentPrompter quiet;
    for (auto _ : state) {
        tf::Statistics statistics;
        tf::resetStatistics(statistics);
        tf::rebuildFilterTree(doc, statistics, quiet);
        for (std::size_t l = 0; l < statistics.filter.locations().size(); ++l) {
            statistics.filter.setLocationTick(l, tf::Tick::Ticked);
        }
        tf::chooseStatisticsView(doc, statistics, tf::StatisticsView::Filtered, quiet);
        benchmark::DoNotOptimize(statistics.cumulative.rowCount());
    }
}
BENCHMARK(BM_FilteredViewAllTicked10kLocations)->Unit(benchmark::kMillisecond);

void BM_FilteredStatisticsAllTicked10kLocations(benchmark::State& state) {
    const tf::ProjectDocument& doc = sampleProject();
    tf::SilentPrompter quiet;
    tf::Statistics statistics;
    tf::resetStatistics(statistics);
    tf::rebuildStatistics(doc, statistics, quiet);
    for (std::size_t l = 0; l < statistics.filter.locations().size(); ++l) {
        statistics.filter.setLocationTick(l, tf::Tick::Ticked);
    }
    const tf::ItemTable items = tf::parseStructure(doc.structure)->items;
    for (auto _ : state) {
        tf::buildFilteredStatistics(doc.analysis, doc.catalogue, items, statistics.filter,
                                    statistics.cumulative, statistics.summary);
    }
    state.counters["cost_rows"] = statistics.cumulative.rowCount();
}
BENCHMARK(BM_FilteredStatisticsAllTicked10kLocations)->Unit(benchmark::kMillisecond);

}  // namespace

// "导出全部为Excel…" of a million-row project: the linked workbook of every table, as the
// worker thread makes it.
#include <benchmark/benchmark.h>

#include "cli/sample_project.h"
#include "core/base/prompter.h"
#include "core/stats/project_workbook.h"
#include "core/stats/statistics.h"
#include "core/xlsx/workbook_writer.h"

namespace {

void BM_ExportAllOfMillionRows(benchmark::State& state) {
    tf::ProjectDocument document;
    tf::cli::buildSampleProject(document, 128'000);
    tf::Statistics statistics;
    tf::resetStatistics(statistics);
    tf::SilentPrompter quiet;
    for (auto _ : state) {
        const auto sheets = tf::projectWorkbookSheets(document, statistics, quiet);
        tf::WorkProgress progress;
        const auto bytes = tf::workbookBytes(sheets, &progress);
        state.counters["MB"] = bytes ? static_cast<double>(bytes->size()) / 1e6 : 0;
        state.counters["rows"] = static_cast<double>(progress.total.load());
    }
}
BENCHMARK(BM_ExportAllOfMillionRows)->Unit(benchmark::kMillisecond)->Iterations(1);

// The part done before the worker starts: gathering the sheets from the statistics the
// window already shows.
void BM_GatherSheetsOfMillionRows(benchmark::State& state) {
    tf::ProjectDocument document;
    tf::cli::buildSampleProject(document, 128'000);
    tf::Statistics statistics;
    tf::resetStatistics(statistics);
    tf::SilentPrompter quiet;
    tf::rebuildStatistics(document, statistics, quiet);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tf::projectWorkbookSheets(document, statistics, quiet));
    }
}
BENCHMARK(BM_GatherSheetsOfMillionRows)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

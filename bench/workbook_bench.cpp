// "导出全部为Excel…" of a million-row project: the linked workbook of every table, as the
// worker thread makes it.
#include <benchmark/benchmark.h>

#include "cli/sample_project.h"
#include "core/base/prompter.h"
#include "core/stats/project_workbook.h"
#include "core/stats/statistics.h"
#include "core/xlsx/workbook_writer.h"

namespace {

// The million-row sample once for both benchmarks, its statistics as a fresh window has them.
struct MillionRows {
    tf::ProjectDocument document;
    tf::Statistics statistics;
    tf::SilentPrompter quiet;
    MillionRows() {
        tf::cli::buildSampleProject(document, 128'000);
        tf::resetStatistics(statistics);
    }
};

MillionRows& sample() {
    static MillionRows rows;
    return rows;
}

void BM_ExportAllOfMillionRows(benchmark::State& state) {
    MillionRows& s = sample();
    tf::Statistics fresh;
    tf::resetStatistics(fresh);
    for (auto _ : state) {
        const auto sheets = tf::projectWorkbookSheets(s.document, fresh, s.quiet);
        const auto bytes = tf::workbookBytes(sheets);
        state.counters["MB"] = bytes ? static_cast<double>(bytes->size()) / 1e6 : 0;
        double rows = 0;
        for (const tf::SheetSource& sheet : sheets) {
            rows += sheet.grid->rowCount();
        }
        state.counters["rows"] = rows;
    }
}
BENCHMARK(BM_ExportAllOfMillionRows)->Unit(benchmark::kMillisecond)->Iterations(1);

// The part done before the worker starts: gathering the sheets from the statistics the
// window already shows.
void BM_GatherSheetsOfMillionRows(benchmark::State& state) {
    MillionRows& s = sample();
    if (!s.statistics.built()) {
        tf::rebuildStatistics(s.document, s.statistics, s.quiet);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(tf::projectWorkbookSheets(s.document, s.statistics, s.quiet));
    }
}
BENCHMARK(BM_GatherSheetsOfMillionRows)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

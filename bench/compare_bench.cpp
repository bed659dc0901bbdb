// "compare" of the million-row sample (128,000 locations) with a copy of it whose every
// hundredth location has other quantities, as the command line runs it: both projects opened
// and tallied, then compared and the summary written.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "cli/compare_commands.h"
#include "cli/sample_project.h"
#include "core/base/number_text.h"
#include "core/base/path_text.h"
#include "core/base/prompter.h"
#include "core/compare/comparison_job.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"

namespace {

struct ProjectPair {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tallyframe-compare-bench";
    std::string before = tf::utf8FromPath(folder / "before.gdb");
    std::string after = tf::utf8FromPath(folder / "after.gdb");

    ProjectPair() {
        std::filesystem::create_directories(folder);
        tf::SilentPrompter quiet;
        tf::ProjectDocument document;
        tf::cli::buildSampleProject(document, 128'000);
        std::filesystem::remove(before);
        std::filesystem::remove(after);
        tf::saveProjectAs(document, before, quiet);
        for (std::size_t l = 0; l < document.locations.size(); l += 100) {
            const int row = document.locations[l].first;
            const double quantity =
                tf::parseNumber(document.analysis.text(row, tf::AnalysisColumn::kMaterialQuantity));
            document.analysis.setText(row, tf::AnalysisColumn::kMaterialQuantity,
                                      tf::formatNumber(quantity * 1.25 + 1));
        }
        tf::saveProjectAs(document, after, quiet);
    }
};

void BM_CompareMillionRowProjects(benchmark::State& state) {
    static ProjectPair pair;
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = tf::cli::compareCommand({pair.before, pair.after}, {out, err});
        if (status != 0) {
            state.SkipWithError(err.str().c_str());
        }
    }
}
BENCHMARK(BM_CompareMillionRowProjects)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same for the comparison window, which lays out every table twice (all lines and the
// changed ones) before it shows.
void BM_CompareMillionRowProjectsForTheWindow(benchmark::State& state) {
    static ProjectPair pair;
    tf::SilentPrompter quiet;
    for (auto _ : state) {
        const auto view = tf::compareProjectFiles(pair.before, nullptr, pair.after, quiet);
        state.counters["lines"] = view ? view->all[0].rowCount() : 0;
    }
}
BENCHMARK(BM_CompareMillionRowProjectsForTheWindow)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

// The in-process parts of opening, entering into and saving large projects; the whole-process
// figures (with memory) come from bench/cli_figures.sh.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/sample_project.h"
#include "core/base/prompter.h"
#include "core/base/text_codec.h"
#include "core/entry/entry_form.h"
#include "core/entry/entry_sheet.h"
#include "core/project/project_file.h"
#include "core/project/project_io.h"
#include "core/undo/undo_history.h"

namespace {

std::string sampleImage(int locations) {
    tf::ProjectDocument d;
    tf::cli::buildSampleProject(d, locations);
    return tf::buildProjectImage(d);
}

// An entry sheet of `locations` locations of `rows` rows each, as a file holds it.
std::string entrySheet(int locations, int rows) {
    std::string sheet;
    for (int k = 0; k < locations; ++k) {
        for (int r = 0; r < rows; ++r) {
            sheet += "新部位" + std::to_string(k) +
                     "\t建施-99\t10×10×3\t030201\t4.2*5.1\t\t水泥砂浆\t水泥砂浆1:3\t0.02\t\r\n";
        }
    }
    return tf::toGbk(sheet);
}

tf::ProjectDocument readImage(const std::string& image) {
    tf::SilentPrompter quiet;
    return std::move(tf::readProjectImage(image, quiet)->document);
}

void BM_OpenProject10kLocations(benchmark::State& state) {
    const std::string image = sampleImage(10'000);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "tallyframe-bench-open.gdb";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(image.data(), 1, image.size(), f);
        std::fclose(f);
    }
    tf::SilentPrompter quiet;
    for (auto _ : state) {
        tf::ProjectDocument document;
        benchmark::DoNotOptimize(tf::loadProject(document, path.string(), quiet));
    }
    std::filesystem::remove(path);
    state.counters["MB"] = static_cast<double>(image.size()) / 1e6;
}
BENCHMARK(BM_OpenProject10kLocations)->Unit(benchmark::kMillisecond);

void BM_BuildImage10kLocations(benchmark::State& state) {
    const tf::ProjectDocument document = readImage(sampleImage(10'000));
    for (auto _ : state) {
        benchmark::DoNotOptimize(tf::buildProjectImage(document).size());
    }
}
BENCHMARK(BM_BuildImage10kLocations)->Unit(benchmark::kMillisecond);

// Batch entry grows with the locations entered: the complexity fit should say N.
void BM_BatchEntryLocations(benchmark::State& state) {
    for (auto _ : state) {
        tf::ProjectDocument document;
        tf::cli::buildSampleProject(document, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(document.analysis.rowCount());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BatchEntryLocations)
    ->Arg(2'000)
    ->Arg(4'000)
    ->Arg(8'000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

// Entering (without opening and saving): 200 locations into a project of 156,000 rows, and one
// location of 20,000 rows.
void importInto(benchmark::State& state, const std::string& image, const std::string& sheet) {
    tf::SilentPrompter quiet;
    for (auto _ : state) {
        state.PauseTiming();
        tf::ProjectDocument document = readImage(image);
        state.ResumeTiming();
        benchmark::DoNotOptimize(tf::importEntrySheet(document, sheet, quiet).size());
        state.PauseTiming();
        document = {};  // freed untimed
        state.ResumeTiming();
    }
}

void BM_Import200LocationsInto156kRows(benchmark::State& state) {
    importInto(state, sampleImage(20'000), entrySheet(200, 4));
}
BENCHMARK(BM_Import200LocationsInto156kRows)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ImportOneLocationOf20000Rows(benchmark::State& state) {
    importInto(state, sampleImage(40), entrySheet(1, 20'000));
}
BENCHMARK(BM_ImportOneLocationOf20000Rows)->Unit(benchmark::kMillisecond)->Iterations(5);

// 1,000 confirmed locations on the 10,000-location sample, each a step of the undo history:
// the confirms with the history recording, then the memory the history holds and the time of
// undoing one confirm and of redoing it.
void BM_ThousandConfirmsWithUndoHistory(benchmark::State& state) {
    const std::string image = sampleImage(10'000);
    const std::string sheet = entrySheet(1, 4);
    tf::SilentPrompter quiet;
    using Clock = std::chrono::steady_clock;
    double undoMs = 0;
    double redoMs = 0;
    double historyMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tf::ProjectDocument document = readImage(image);
        tf::UndoHistory history;
        history.clear(document);
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i) {
            tf::UndoHistory::Action action(history, document, "录入数据");
            benchmark::DoNotOptimize(tf::importEntrySheet(document, sheet, quiet).size());
        }
        state.PauseTiming();
        historyMb = static_cast<double>(history.bytes()) / 1e6;
        const auto a = Clock::now();
        history.undo(document, quiet);
        const auto b = Clock::now();
        history.redo(document, quiet);
        const auto c = Clock::now();
        undoMs = std::chrono::duration<double, std::milli>(b - a).count();
        redoMs = std::chrono::duration<double, std::milli>(c - b).count();
        state.ResumeTiming();
    }
    state.counters["history_MB"] = historyMb;
    state.counters["undo_one_ms"] = undoMs;
    state.counters["redo_one_ms"] = redoMs;
}
BENCHMARK(BM_ThousandConfirmsWithUndoHistory)->Unit(benchmark::kMillisecond)->Iterations(1);

// One confirm on the 1,000,000-row project (128,000 locations) against undoing and redoing it:
// the undo replays what the step changed and brings the location index back, so it should
// cost about what the confirm did, whatever the size of the project. Argument 0 adds a
// location at the end; 1 grows the middle location by a row, so every location behind it moves.
void BM_UndoOneConfirmOnMillionRows(benchmark::State& state) {
    static tf::ProjectDocument document = [] {
        tf::ProjectDocument d;
        tf::cli::buildSampleProject(d, 128'000);
        return d;
    }();
    const std::string sheet = entrySheet(1, 4);
    tf::SilentPrompter quiet;
    tf::EntryForm form(document, quiet);
    tf::UndoHistory history;
    history.clear(document);
    const auto confirm = [&] {
        if (state.range(0) == 0) {
            benchmark::DoNotOptimize(tf::importEntrySheet(document, sheet, quiet).size());
            return;
        }
        form.beginModify(static_cast<int>(document.locations.size() / 2));
        tf::Grid& rows = form.grid();
        const int last = rows.rowCount() - 1;
        form.addRow(last);
        for (const int c : {tf::EntryColumn::kCode, tf::EntryColumn::kItemSize,
                            tf::EntryColumn::kWorkQuantity, tf::EntryColumn::kMaterialQuantity}) {
            rows.setText(last + 1, c, std::string(rows.text(1, c)));
        }
        form.pickMaterial(last + 1,
                          std::stoi(std::string(rows.text(1, tf::EntryColumn::kMaterialId))));
        form.confirm();
    };
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration<double, std::milli>(b - a).count();
    };
    double confirmMs = 0;
    double undoMs = 0;
    double redoMs = 0;
    double stepKb = 0;
    for (auto _ : state) {
        const auto a = Clock::now();
        {
            tf::UndoHistory::Action action(history, document, "录入数据");
            confirm();
        }
        const auto b = Clock::now();
        stepKb = static_cast<double>(history.bytes()) / 1e3;
        history.undo(document, quiet);
        const auto c = Clock::now();
        history.redo(document, quiet);
        const auto d = Clock::now();
        history.undo(document, quiet);
        confirmMs += ms(a, b);
        undoMs += ms(b, c);
        redoMs += ms(c, d);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["rows"] = document.analysis.rowCount();
    state.counters["confirm_ms"] = confirmMs / n;
    state.counters["undo_ms"] = undoMs / n;
    state.counters["redo_ms"] = redoMs / n;
    state.counters["step_KB"] = stepKb;
}
BENCHMARK(BM_UndoOneConfirmOnMillionRows)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace

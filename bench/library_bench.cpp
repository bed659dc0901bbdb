// The price library on both engines: 100,000 prices imported in one go, and a project of
// 1,000 materials repriced. PostgreSQL's run needs a server in libpq's environment
// (pg_virtualenv make bench); without PGHOST it is skipped.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/base/path_text.h"
#include "core/library/repricing.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/project_io.h"

namespace {

// A fresh library of the engine: a file in the temporary folder, or a database of its own.
std::string freshLibrary(bool server) {
    static int next = 0;
    const std::string name =
        "tf_bench_" + std::to_string(::getpid()) + "_" + std::to_string(next++);
    if (server) {
        tf::openPostgresSession("dbname=postgres")->query("CREATE DATABASE " + name);
        return "dbname=" + name;
    }
    const auto file = std::filesystem::temp_directory_path() / (name + ".sqlite");
    std::filesystem::remove(file);
    return tf::utf8FromPath(file);
}

tf::LibraryMaterial material(int i) {
    return {"类别" + std::to_string(i % 40), "材料" + std::to_string(i),
            "规格" + std::to_string(i % 7), i % 2 ? "平方米" : "千克"};
}

bool skipWithoutServer(benchmark::State& state) {
    if (state.range(0) == 1 && std::getenv("PGHOST") == nullptr) {
        state.SkipWithError("no PostgreSQL server: run under pg_virtualenv");
        return true;
    }
    return false;
}

void BM_Import100kPrices(benchmark::State& state) {
    if (skipWithoutServer(state)) {
        return;
    }
    std::vector<std::pair<tf::LibraryMaterial, double>> prices;
    for (int i = 0; i < 100'000; ++i) {
        prices.emplace_back(material(i), 1 + i % 997 / 10.0);
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto library = tf::openPriceLibrary(freshLibrary(state.range(0) == 1));
        state.ResumeTiming();
        benchmark::DoNotOptimize(library->importPrices(prices, "2026-03-01", "基准"));
    }
}
BENCHMARK(BM_Import100kPrices)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Reprice1000Materials(benchmark::State& state) {
    if (skipWithoutServer(state)) {
        return;
    }
    auto library = tf::openPriceLibrary(freshLibrary(state.range(0) == 1));
    std::vector<std::pair<tf::LibraryMaterial, double>> prices;
    for (int i = 0; i < 20'000; ++i) {
        prices.emplace_back(material(i), 2 + i % 13);
    }
    library->importPrices(prices, "2026-03-01", "三月");
    library->importPrices(prices, "2026-09-01", "九月");
    tf::ProjectDocument document;
    tf::resetProject(document);
    using namespace tf::MaterialColumn;
    document.materials.setRowCount(1001);
    for (int r = 1; r <= 1000; ++r) {
        const tf::LibraryMaterial m = material(r * 17);
        document.materials.setText(r, kCategory, m.category);
        document.materials.setText(r, kName, m.name);
        document.materials.setText(r, kSpec, m.spec);
        document.materials.setText(r, kUnit, m.unit);
        document.materials.setText(r, kPrice, "1");
    }
    tf::rebuildCatalogue(document);
    for (auto _ : state) {
        const tf::RepricePlan plan = tf::planRepricing(document, *library, "2026-06-30");
        state.counters["changed"] = tf::applyRepricing(document, plan);
        state.PauseTiming();
        for (int r = 1; r <= 1000; ++r) {
            document.materials.setText(r, kPrice, "1");
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Reprice1000Materials)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

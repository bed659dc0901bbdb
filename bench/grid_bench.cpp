#include <benchmark/benchmark.h>

#include <unistd.h>
#include <fstream>
#include <string>

#include "bench/analysis_sample.h"

namespace {

constexpr int kRows = 100'000;

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

const tf::Grid& sample() {
    static const tf::Grid grid = tf::bench::analysisSample(kRows);
    return grid;
}

void BM_SaveAnalysis100k(benchmark::State& state) {
    const tf::Grid& grid = sample();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string saved = grid.save();
        bytes = saved.size();
        benchmark::DoNotOptimize(saved.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SaveAnalysis100k)->Unit(benchmark::kMillisecond);

void BM_LoadAnalysis100k(benchmark::State& state) {
    const std::string saved = sample().save();
    for (auto _ : state) {
        tf::Grid grid;
        if (!grid.load(saved)) {
            state.SkipWithError("load failed");
        }
        benchmark::DoNotOptimize(grid.rowCount());
    }
}
BENCHMARK(BM_LoadAnalysis100k)->Unit(benchmark::kMillisecond);

void BM_InsertRowInTheMiddle(benchmark::State& state) {
    tf::Grid grid = sample();
    for (auto _ : state) {
        grid.insertRows(grid.rowCount() / 2);
    }
}
BENCHMARK(BM_InsertRowInTheMiddle)->Unit(benchmark::kMicrosecond)->Iterations(500);

void BM_DeleteRowInTheMiddle(benchmark::State& state) {
    tf::Grid grid = sample();
    for (auto _ : state) {
        grid.deleteRows(grid.rowCount() / 2);
    }
}
BENCHMARK(BM_DeleteRowInTheMiddle)->Unit(benchmark::kMicrosecond)->Iterations(500);

void BM_MillionRowGridMemory(benchmark::State& state) {
    for (auto _ : state) {
        const long before = residentBytes();
        tf::Grid grid = tf::bench::analysisSample(1'000'000);
        const long after = residentBytes();
        state.counters["MiB"] = static_cast<double>(after - before) / (1024.0 * 1024.0);
        state.counters["merges"] = static_cast<double>(grid.merges().size());
        benchmark::DoNotOptimize(grid.rowCount());
    }
}
BENCHMARK(BM_MillionRowGridMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

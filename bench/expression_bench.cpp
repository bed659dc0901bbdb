#include <benchmark/benchmark.h>

#include "core/expr/expression_evaluator.h"
#include "fuzz/silent_prompter.h"

namespace {

void BM_EvaluateDimensions(benchmark::State& state) {
    tf::fuzz::SilentPrompter prompter;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tf::evaluateLastLine("(3.6+1.2)*2.8-0.9*2.1", prompter));
    }
}
BENCHMARK(BM_EvaluateDimensions)->Unit(benchmark::kMicrosecond);

}  // namespace

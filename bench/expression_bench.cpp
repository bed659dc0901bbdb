#include <benchmark/benchmark.h>

#include "core/base/prompter.h"
#include "core/expr/expression_evaluator.h"

namespace {

void BM_EvaluateDimensions(benchmark::State& state) {
    tf::SilentPrompter prompter;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tf::evaluateLastLine("(3.6+1.2)*2.8-0.9*2.1", prompter));
    }
}
BENCHMARK(BM_EvaluateDimensions)->Unit(benchmark::kMicrosecond);

}  // namespace

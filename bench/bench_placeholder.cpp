#include <benchmark/benchmark.h>

#include "platform/foundation/Error.hpp"

static void BM_ErrorConstruction(benchmark::State& state) {
    for (auto _ : state) {
        platform::Error e("x");
        benchmark::DoNotOptimize(e);
    }
}
BENCHMARK(BM_ErrorConstruction);

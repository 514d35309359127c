#include <benchmark/benchmark.h>

#include "foundation/vb.h"

static void BM_InStrText(benchmark::State& state) {
    std::string hay(65000, 'x');
    hay += "Item number:";
    for (auto _ : state) benchmark::DoNotOptimize(vb::InStr(hay, "ITEM NUMBER", vb::Text));
}
BENCHMARK(BM_InStrText);

BENCHMARK_MAIN();

#include "core/analysis/integration_graph.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// The deepest graph the capacity allows: a chain of lines, with depths up to count - 1.
vantrel::Matrix<std::int16_t> chainDepths(int count) {
    vantrel::Matrix<std::int16_t> depth(count, count);
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < count; ++j)
            depth(i, j) = static_cast<std::int16_t>(std::abs(i - j));
    return depth;
}

void BM_ArcListOfAChain(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const auto depth = chainDepths(count);
    for (auto _ : state)
        benchmark::DoNotOptimize(vantrel::analysis::buildArcList(depth, count));
    state.SetItemsProcessed(state.iterations() * count * (count - 1) / 2);
}
BENCHMARK(BM_ArcListOfAChain)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace

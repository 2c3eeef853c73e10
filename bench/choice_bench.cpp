// Choice of every line and every junction at radius 3 and n: a search per item counting shortest
// paths, on street-like maps of the batch tool's sizes.
#include "core/analysis/choice.h"

#include "../tests/core/support/map_generators.h"

#include <benchmark/benchmark.h>

#include <random>

namespace vantrel::analysis {
namespace {

const int kRadii[] = {3, kUnlimitedSteps};

maps::MapData streetMap(int lineCount) {
    std::mt19937 random(1);
    return maps::GrowingMap(random, lineCount, 3 * lineCount, 20);
}

template <class Compute> void choiceOf(benchmark::State& state, Compute compute) {
    const maps::MapData map = streetMap(static_cast<int>(state.range(0)));
    const MapGraph graph(map.lineCount, map.junctions);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            compute(graph, std::span<const int>(kRadii), ChoiceOptions{.threads = 1}));
    state.counters["lines"] = map.lineCount;
    state.counters["junctions"] = static_cast<double>(map.junctions.size());
}

void BM_LineChoice(benchmark::State& state) {
    choiceOf(state, ComputeLineChoice);
}
void BM_JunctionChoice(benchmark::State& state) {
    choiceOf(state, ComputeJunctionChoice);
}

BENCHMARK(BM_LineChoice)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JunctionChoice)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantrel::analysis

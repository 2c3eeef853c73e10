// Both analyses against the original's matrix iteration, at the desktop's sizes and on a large
// street grid for the batch tool.
#include "core/analysis/depths.h"
#include "core/analysis/integration.h"
#include "core/analysis/radius_values.h"

#include "../tests/core/support/junction_walk.h"
#include "../tests/core/support/map_generators.h"
#include "../tests/core/support/matrix_iteration.h"

#include <benchmark/benchmark.h>

#include <random>

namespace vantrel::analysis {
namespace {

using maps::MapData;

enum Shape { kConnected, kSeparateGroups };

// Desktop maps hold at most 499 junctions; a connected one grows with about two per line.
MapData lineMap(int lineCount, int shape) {
    std::mt19937 random(1);
    if (shape == kConnected) {
        return maps::GrowingMap(random, lineCount, std::min(2 * lineCount, 499), 10);
    }
    return maps::SeparateCopies(maps::GrowingMap(random, 5, 4, 3), lineCount / 5);
}

MapData junctionMap(int junctionCount, int shape) {
    std::mt19937 random(1);
    if (shape == kConnected) {
        return maps::GrowingMap(random, junctionCount / 2, junctionCount, 10);
    }
    return maps::SeparateCopies(maps::GrowingMap(random, 4, 5, 3), junctionCount / 5);
}

void count(benchmark::State& state, const MapData& map) {
    state.counters["lines"] = map.lineCount;
    state.counters["junctions"] = static_cast<double>(map.junctions.size());
}

// What the desktop asks for: full matrices, one thread.
template <class Compute>
void searchDesktopMap(benchmark::State& state, const MapData& map, Compute compute) {
    for (auto _ : state) {
        const MapGraph graph(map.lineCount, map.junctions);
        auto depths = compute(graph, DepthOptions{.fullMatrix = true});
        benchmark::DoNotOptimize(NormalisedIntegration(depths.totalDepth));
    }
    count(state, map);
}

void BM_PrimalSearch(benchmark::State& state) {
    searchDesktopMap(state, lineMap(state.range(0), state.range(1)), ComputeLineDepths);
}

void BM_DualSearch(benchmark::State& state) {
    searchDesktopMap(state, junctionMap(state.range(0), state.range(1)), ComputeJunctionDepths);
}

void BM_PrimalIteration(benchmark::State& state) {
    const auto map = lineMap(state.range(0), state.range(1));
    for (auto _ : state) {
        const auto incidence = reference::LineJunctionTable(map.lineCount, map.junctions);
        benchmark::DoNotOptimize(
            reference::IterateDepths(reference::LineAdjacencyTable(incidence)));
    }
    count(state, map);
}

void BM_DualIteration(benchmark::State& state) {
    const auto map = junctionMap(state.range(0), state.range(1));
    for (auto _ : state) {
        const auto incidence = reference::LineJunctionTable(map.lineCount, map.junctions);
        benchmark::DoNotOptimize(
            reference::IterateDepths(reference::JunctionAdjacencyTable(incidence)));
    }
    count(state, map);
}

BENCHMARK(BM_PrimalSearch)
    ->ArgsProduct({{100, 300, 500}, {kConnected, kSeparateGroups}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DualSearch)
    ->ArgsProduct({{100, 300, 499}, {kConnected, kSeparateGroups}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrimalIteration)
    ->ArgsProduct({{100, 300, 500}, {kConnected, kSeparateGroups}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_DualIteration)
    ->ArgsProduct({{100, 300, 499}, {kConnected, kSeparateGroups}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A street grid of about 50,000 lines and 128,000 junctions, counts only, on two threads.
const MapData& bigStreetMap() {
    static const MapData map = [] {
        std::mt19937 random(1);
        return maps::StreetGrid(random, 418, 418);
    }();
    return map;
}

template <class Compute> void searchBigMap(benchmark::State& state, Compute compute) {
    const auto& map = bigStreetMap();
    for (auto _ : state) {
        const MapGraph graph(map.lineCount, map.junctions);
        const auto depths = compute(graph, DepthOptions{.threads = 2});
        benchmark::DoNotOptimize(NormalisedIntegration(depths.totalDepth));
        benchmark::DoNotOptimize(RadiusValues(depths.histograms, 3));
        state.counters["largest depth"] = depths.largestDepth;
    }
    count(state, map);
}

void BM_BigPrimal(benchmark::State& state) {
    searchBigMap(state, ComputeLineDepths);
}
void BM_BigDual(benchmark::State& state) {
    searchBigMap(state, ComputeJunctionDepths);
}

BENCHMARK(BM_BigPrimal)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_BigDual)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The search over the lines against the plain walk over the junction graph, on one thread.
void BM_DualWalkMediumGrid(benchmark::State& state) {
    std::mt19937 random(1);
    const auto map = maps::StreetGrid(random, 80, 80);
    const MapGraph graph(map.lineCount, map.junctions);
    for (auto _ : state) {
        if (state.range(0) == 0) {
            benchmark::DoNotOptimize(ComputeJunctionDepths(graph));
        } else {
            for (int source = 0; source < graph.junctionCount(); ++source) {
                benchmark::DoNotOptimize(reference::JunctionDepthsFrom(graph, source));
            }
        }
    }
    count(state, map);
}

BENCHMARK(BM_DualWalkMediumGrid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantrel::analysis

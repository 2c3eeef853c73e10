// Layouts that once made the batch tool's time grow with the square of the line count, or its
// memory without bound: lines that cross nothing, one stray line far from the rest, dense clusters
// far apart, and tiny streets beside one far line. Each size
// doubles the last, so near-linear growth shows as times that about double.
#include "core/analysis/depths.h"
#include "core/geometry/intersections.h"

#include <benchmark/benchmark.h>

#include <random>

namespace vantrel {
namespace {

// Short strokes on a lattice, each far from the others.
std::vector<AxialLine> IsolatedLines(int count) {
    std::vector<AxialLine> lines;
    for (int index = 0; index < count; ++index) {
        const auto x = static_cast<float>(index % 1000) * 100,
                   y = static_cast<float>(index / 1000) * 100;
        lines.push_back({x, y, x + 10, y + 10});
    }
    return lines;
}

// A street lattice of `count` lines broken into pieces that cross a few others, at (x, y).
void AddStreets(std::vector<AxialLine>& lines, int count, float x, float y) {
    std::mt19937 random(static_cast<unsigned>(count));
    std::uniform_real_distribution<float> jitter(-3, 3);
    const int streets = std::max(2, static_cast<int>(std::sqrt(count / 4.0)));
    for (int index = 0; index < count; ++index) {
        const int street = index % streets, piece = index / streets / 2;
        const float across = street * 20.0f + jitter(random), along = piece * 50.0f;
        if (index / streets % 2 == 0)
            lines.push_back({x + along, y + across, x + along + 70, y + across + jitter(random)});
        else
            lines.push_back({x + across, y + along, x + across + jitter(random), y + along + 70});
    }
}

void BM_DepthsOfIsolatedLines(benchmark::State& state) {
    const analysis::MapGraph graph(static_cast<int>(state.range(0)), std::vector<MapJunction>{});
    for (auto _ : state)
        benchmark::DoNotOptimize(analysis::ComputeLineDepths(graph, {.threads = 1}));
}

void BM_JunctionsWithOneStrayLine(benchmark::State& state) {
    std::vector<AxialLine> lines;
    AddStreets(lines, static_cast<int>(state.range(0)), 0, 0);
    lines.push_back({1e8f, 1e8f, 1e8f + 50, 1e8f + 50});
    const std::vector<MapLine> map = Widened(lines);
    for (auto _ : state)
        benchmark::DoNotOptimize(geometry::FindAllJunctions(map));
}

void BM_JunctionsOfFarClusters(benchmark::State& state) {
    std::vector<AxialLine> lines;
    const int count = static_cast<int>(state.range(0));
    for (int cluster = 0; cluster < 4; ++cluster)
        AddStreets(lines, count / 4, cluster * 1e6f, cluster * 1e6f);
    const std::vector<MapLine> map = Widened(lines);
    for (auto _ : state)
        benchmark::DoNotOptimize(geometry::FindAllJunctions(map));
}

// Streets a billionth of their size beside one line two billion long, whose coordinates once set
// the rounding margin, and so the cells, of every other line.
void BM_JunctionsOfTinyStreetsBesideAFarLine(benchmark::State& state) {
    std::vector<AxialLine> streets;
    AddStreets(streets, static_cast<int>(state.range(0)), 0, 0);
    std::vector<MapLine> map = {{1e9, 0, -1e9, 0}};
    for (const MapLine& line : Widened(streets))
        map.push_back({line.x1 * 1e-9, line.y1 * 1e-9, line.x2 * 1e-9, line.y2 * 1e-9});
    for (auto _ : state)
        benchmark::DoNotOptimize(geometry::FindAllJunctions(map));
}

void BM_JunctionsOfIsolatedLines(benchmark::State& state) {
    const std::vector<MapLine> lines = Widened(IsolatedLines(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(geometry::FindAllJunctions(lines));
}

BENCHMARK(BM_DepthsOfIsolatedLines)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Arg(400'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JunctionsWithOneStrayLine)
    ->Arg(25'000)
    ->Arg(50'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JunctionsOfFarClusters)
    ->Arg(10'000)
    ->Arg(20'000)
    ->Arg(40'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JunctionsOfTinyStreetsBesideAFarLine)
    ->Arg(25'000)
    ->Arg(50'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JunctionsOfIsolatedLines)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Arg(400'000)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantrel

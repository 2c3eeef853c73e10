// Visibility graph analysis of a floor of rooms along a corridor: the whole analysis at radius n
// (visibility graph, isovists, every visual measure, through vision) and each of its stages, at
// about 5,000 and 20,000 points. Run one iteration at a time: the 20,000 points take seconds.
#include "core/vga/local_measures.h"
#include "core/vga/through_vision.h"
#include "core/vga/vga_analysis.h"
#include "core/vga/visibility_graph.h"
#include "core/vga/visual_depths.h"

#include "../tests/core/support/floor_plans.h"

#include <benchmark/benchmark.h>

namespace vantrel::vga {
namespace {

// Rooms along each side: 3 give about 5,000 points at 0.25 m, 12 about 20,000.
WallSet Floor(int roomsPerSide) {
    plans::FloorPlan plan;
    plan.roomsPerSide = roomsPerSide;
    return WallSet(plans::FloorWalls(plan));
}

constexpr double kSpacing = 0.25;
const DoublePoint kFill{1, 1};

void Count(benchmark::State& state, const PointGrid& grid, const VisibilityGraph& graph) {
    long long seen = 0;
    for (int point = 0; point < graph.pointCount(); ++point)
        seen += graph.connectivity(point);
    state.counters["points"] = grid.pointCount();
    state.counters["mean_connectivity"] = static_cast<double>(seen) / grid.pointCount();
    state.counters["graph_MB"] = static_cast<double>(graph.bytes()) / (1 << 20);
}

// Everything the batch tool computes by default; threads from the second argument.
void BM_VgaWholeAnalysis(benchmark::State& state) {
    const WallSet walls = Floor(static_cast<int>(state.range(0)));
    VgaOptions options;
    options.spacing = kSpacing;
    options.fillPoints = {kFill};
    options.threads = static_cast<int>(state.range(1));
    int points = 0;
    for (auto _ : state) {
        auto run = RunVga(walls, options);
        points = std::get<VgaResult>(run).pointCount();
        benchmark::DoNotOptimize(run);
    }
    state.counters["points"] = points;
}
BENCHMARK(BM_VgaWholeAnalysis)
    ->Args({3, 1})
    ->Args({12, 1})
    ->Args({12, 2})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

// The stages one at a time, on one thread, at about 20,000 points, each from the stages before it.
struct Stages {
    WallSet walls = Floor(12);
    PointGrid grid;
    Sights sights;
    VisualDepths depths;
    explicit Stages(bool search) : grid(walls.extent(), kSpacing) {
        FillGrid(grid, walls, std::span(&kFill, 1));
        sights = LookFromEveryPoint(grid, walls);
        if (search)
            depths = ComputeVisualDepths(sights.graph);
    }
};

void BM_VgaIsovistsAndVisibility(benchmark::State& state) {
    const Stages stages(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(LookFromEveryPoint(stages.grid, stages.walls));
    Count(state, stages.grid, stages.sights.graph);
}
BENCHMARK(BM_VgaIsovistsAndVisibility)->Unit(benchmark::kSecond)->Iterations(1);

void BM_VgaVisualDepths(benchmark::State& state) {
    const Stages stages(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeVisualDepths(stages.sights.graph));
    Count(state, stages.grid, stages.sights.graph);
}
BENCHMARK(BM_VgaVisualDepths)->Unit(benchmark::kSecond)->Iterations(1);

void BM_VgaClusteringAndControl(benchmark::State& state) {
    const Stages stages(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeLocalMeasures(stages.grid, stages.sights.graph,
                                                      stages.depths.histograms, 1, nullptr));
    Count(state, stages.grid, stages.sights.graph);
}
BENCHMARK(BM_VgaClusteringAndControl)->Unit(benchmark::kSecond)->Iterations(1);

void BM_VgaThroughVision(benchmark::State& state) {
    const Stages stages(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ComputeThroughVision(stages.grid, stages.sights.graph, 1, nullptr));
    Count(state, stages.grid, stages.sights.graph);
}
BENCHMARK(BM_VgaThroughVision)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
} // namespace vantrel::vga

// Segment analysis of a street-like road-centre-line map (the synthetic town's clean segments):
// angular (tulip 1024) at radius n and at 800 m with choice, and metric at radius n, on one
// thread, so that the time per origin can be compared with the peer's.
#include "core/segment/segment_analysis.h"
#include "core/segment/segment_building.h"
#include "synthetic_town.h"

#include <benchmark/benchmark.h>

namespace vantrel::segment {
namespace {

SegmentMap TownSegments(int blocks) {
    const bench::Town town =
        bench::MakeTown({.blocksAcross = blocks, .blocksDown = blocks, .run = 1});
    return SegmentsFromRoadCentreLines(town.clean, 0).map;
}

void Analyse(benchmark::State& state, DepthKind depth, double radius, bool choice) {
    const SegmentMap map = TownSegments(static_cast<int>(state.range(0)));
    const SegmentAnalysisOptions options{
        .depth = depth, .radii = {radius}, .choice = choice, .threads = 1};
    for (auto _ : state)
        benchmark::DoNotOptimize(AnalyseSegments(map, options));
    state.counters["segments"] = map.segmentCount();
    state.counters["per_origin"] = benchmark::Counter(
        static_cast<double>(map.segmentCount()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_AngularChoiceRadiusN(benchmark::State& state) {
    Analyse(state, DepthKind::Angular, kRadiusN, true);
}
void BM_AngularChoice800(benchmark::State& state) {
    Analyse(state, DepthKind::Angular, 800, true);
}
void BM_MetricRadiusN(benchmark::State& state) {
    Analyse(state, DepthKind::Metric, kRadiusN, false);
}

// Blocks across and down: about 400 and 3,000 segments.
BENCHMARK(BM_AngularChoiceRadiusN)->Arg(12)->Arg(36)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AngularChoice800)->Arg(36)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MetricRadiusN)->Arg(36)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantrel::segment

// The searches of angular (tulip 1024) segment analysis with choice at radius n, from a sample
// of origins on a street-like axial map of about 30,000 segments: the time per state settled,
// the figure a whole analysis (two states per segment from every origin) grows with.
#include "core/geometry/intersections.h"
#include "core/segment/segment_building.h"
#include "core/segment/segment_search.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace vantrel::segment {
namespace {

constexpr double kSpacing = 100;

// Streets along a grid of kSpacing, each a run of slightly tilted pieces spanning three to six
// blocks that overlap a little end to end, and about 15 % diagonals across the grid.
std::vector<MapLine> StreetLines(int lineCount) {
    std::mt19937 random(1);
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const int gridLines = lineCount * 85 / 100;
    const int streets = std::max(2, static_cast<int>(std::sqrt(gridLines / 0.45)));
    const double side = streets * kSpacing;
    std::vector<MapLine> lines;
    for (int street = 0; street < 2 * streets; ++street) {
        const double base = (street % streets + 0.5) * kSpacing + uniform(-5, 5);
        for (double at = -uniform(0, 3 * kSpacing); at < side;) {
            const double span = uniform(3 * kSpacing, 6 * kSpacing);
            const double from = std::max(at, 0.0), to = std::min(at + span, side);
            const double across1 = base + uniform(-3, 3), across2 = base + uniform(-3, 3);
            if (to - from >= kSpacing)
                lines.push_back(street < streets ? MapLine{from, across1, to, across2}
                                                 : MapLine{across1, from, across2, to});
            at += span - uniform(5, 30);
        }
    }
    std::shuffle(lines.begin(), lines.end(), random);
    lines.resize(std::min<std::size_t>(lines.size(), static_cast<std::size_t>(gridLines)));
    while (static_cast<int>(lines.size()) < lineCount) {
        const double length = uniform(3 * kSpacing, 6 * kSpacing);
        const double angle = uniform(0, std::numbers::pi);
        const double x1 = uniform(0, side), y1 = uniform(0, side);
        const double x2 = x1 + length * std::cos(angle), y2 = y1 + length * std::sin(angle);
        if (x2 >= 0 && x2 <= side && y2 >= 0 && y2 <= side)
            lines.push_back({x1, y1, x2, y2});
    }
    return lines;
}

SegmentMap StreetSegments(int lineCount) {
    const std::vector<MapLine> lines = StreetLines(lineCount);
    return SegmentsFromAxialLines(lines, geometry::FindAllJunctions(lines), 0);
}

// Radius n with choice from origins spread over the map; the time per state settled is the
// figure to watch (a whole analysis settles two states per segment from every origin).
void BM_SegmentSearchesWithChoice(benchmark::State& state) {
    const SegmentMap map = StreetSegments(static_cast<int>(state.range(0)));
    const SearchGraph graph(map, DepthKind::Angular, 1024);
    std::vector<double> lengths(static_cast<std::size_t>(map.segmentCount()));
    for (int place = 0; place < map.segmentCount(); ++place)
        lengths[static_cast<std::size_t>(place)] = map.segment(graph.segmentAt(place)).length;
    SegmentSearch search(graph, lengths);
    constexpr int kOrigins = 24;
    double settled = 0;
    for (auto _ : state) {
        double passing = 0;
        for (int origin = 0; origin < kOrigins; ++origin) {
            search.run(origin * (map.segmentCount() / kOrigins), {}, true);
            settled += static_cast<double>(search.settled().size());
            search.sharePassingRoutes(lengths,
                                      [&](int, double plain, double, bool) { passing += plain; });
        }
        benchmark::DoNotOptimize(passing);
    }
    state.counters["segments"] = map.segmentCount();
    // The time per iteration over this gives the time per state settled.
    state.counters["states"] = benchmark::Counter(settled, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_SegmentSearchesWithChoice)->Arg(4800)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantrel::segment

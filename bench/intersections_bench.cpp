// Timings of the junction searches on desktop-sized and batch-sized maps.
#include "core/geometry/intersections.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace vantrel::geometry {
namespace {

constexpr float kUnit = 15.0f;
constexpr int kSpacing = 20; // street spacing, in units

// A street-like map in units of 15: a jittered grid of streets broken into staggered, slightly
// tilted pieces spanning a few cross streets, plus about 15% diagonals.
std::vector<AxialLine> StreetMap(int count) {
    std::mt19937 random(static_cast<unsigned>(count));
    const auto whole = [&random](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    const int gridCount = std::max(1, static_cast<int>(std::lround(0.85 * count)));
    const int streets = std::max(2, static_cast<int>(std::sqrt(gridCount / 0.444)));
    const int side = streets * kSpacing;
    std::vector<AxialLine> lines;
    for (const bool horizontal : {true, false}) {
        for (int street = 0; street < streets; ++street) {
            const int base = street * kSpacing + kSpacing / 2 + whole(-3, 3);
            for (int position = -whole(0, 3 * kSpacing); position < side;) {
                const int span = whole(3 * kSpacing, 6 * kSpacing);
                const int from = std::max(position, 0), to = std::min(position + span, side);
                if (to - from >= kSpacing) {
                    const float a = kUnit * from, b = kUnit * to;
                    const float offset1 = kUnit * (base + whole(-2, 2));
                    const float offset2 = kUnit * (base + whole(-2, 2));
                    lines.push_back(horizontal ? AxialLine{a, offset1, b, offset2}
                                               : AxialLine{offset1, a, offset2, b});
                }
                position += span - whole(1, 4);
            }
        }
    }
    std::shuffle(lines.begin(), lines.end(), random);
    lines.resize(std::min<std::size_t>(lines.size(), gridCount));
    std::uniform_real_distribution<double> angle(0, std::numbers::pi);
    std::uniform_real_distribution<double> length(3 * kSpacing, 6 * kSpacing);
    while (static_cast<int>(lines.size()) < count) {
        const int x1 = whole(0, side), y1 = whole(0, side);
        const double a = angle(random), l = length(random);
        const auto x2 = static_cast<int>(std::lround(x1 + l * std::cos(a)));
        const auto y2 = static_cast<int>(std::lround(y1 + l * std::sin(a)));
        if (x2 >= 0 && x2 <= side && y2 >= 0 && y2 <= side)
            lines.push_back({kUnit * x1, kUnit * y1, kUnit * x2, kUnit * y2});
    }
    std::shuffle(lines.begin(), lines.end(), random);
    return lines;
}

// Long lines from edge to edge, half each way: every horizontal crosses every vertical.
std::vector<AxialLine> LongGrid(int count) {
    std::vector<AxialLine> lines;
    const float side = 9000.0f, step = side / (count / 2 + 1);
    for (int index = 1; index <= count / 2; ++index) {
        lines.push_back({0, step * index, side, step * index + 7});
        lines.push_back({step * index, 0, step * index - 7, side});
    }
    return lines;
}

// Short strokes scattered over a desktop map: few crossings.
std::vector<AxialLine> SparseMap(int count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> x(0, 9000), y(0, 6750), step(-200, 200);
    std::vector<AxialLine> lines;
    for (int index = 0; index < count; ++index) {
        const float x1 = x(random), y1 = y(random);
        lines.push_back({x1, y1, x1 + step(random), y1 + step(random)});
    }
    return lines;
}

void AllPairs(benchmark::State& state, const std::vector<AxialLine>& lines) {
    std::size_t crossings = 0;
    for (auto _ : state) {
        const auto search = FindJunctions(lines, std::numeric_limits<int>::max());
        crossings = search.junctions.size();
        benchmark::DoNotOptimize(search);
    }
    state.counters["crossings"] = static_cast<double>(crossings);
}

void Grid(benchmark::State& state, const std::vector<AxialLine>& lines) {
    std::size_t crossings = 0;
    const std::vector<MapLine> map = Widened(lines);
    for (auto _ : state) {
        const auto junctions = FindAllJunctions(map);
        crossings = junctions.size();
        benchmark::DoNotOptimize(junctions);
    }
    state.counters["crossings"] = static_cast<double>(crossings);
}

void BM_AllPairsSparse(benchmark::State& state) {
    AllPairs(state, SparseMap(500));
}
void BM_AllPairsStreets(benchmark::State& state) {
    AllPairs(state, StreetMap(500));
}
void BM_AllPairsLongGrid(benchmark::State& state) {
    AllPairs(state, LongGrid(500));
}
void BM_GridSparse(benchmark::State& state) {
    Grid(state, SparseMap(500));
}
void BM_GridLongGrid(benchmark::State& state) {
    Grid(state, LongGrid(500));
}
void BM_GridStreets(benchmark::State& state) {
    Grid(state, StreetMap(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_AllPairsSparse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllPairsStreets)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllPairsLongGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSparse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridLongGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridStreets)->Arg(500)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantrel::geometry

// Street-like road-centre-line maps for segment tests and benchmarks.
#pragma once

#include "core/app/project_state.h"

#include <cmath>
#include <random>
#include <vector>

namespace vantrel::maps {

// A town of about `segments` straight road pieces: junctions on a jittered grid `spacing` apart,
// neighbouring junctions joined by a street of one to four pieces that bends a little where they
// meet, one street in ten missing (irregular blocks and dead ends) and one block in eight crossed
// by a diagonal. Pieces of a street share their end points exactly, and so do the streets at a
// junction; the same `run` gives the same map.
inline std::vector<MapLine> StreetNetwork(int segments, unsigned run, double spacing = 100) {
    std::mt19937 random(run);
    std::uniform_real_distribution<double> jitter(-0.15 * spacing, 0.15 * spacing);
    std::uniform_real_distribution<double> bend(-0.03 * spacing, 0.03 * spacing);
    std::uniform_int_distribution<int> pieces(1, 4);
    std::uniform_int_distribution<int> tenth(0, 9);
    std::uniform_int_distribution<int> eighth(0, 7);
    // About 2.5 pieces per street, two streets and an eighth of a diagonal per junction.
    const int side = std::max(2, static_cast<int>(std::sqrt(segments / 5.3)));
    std::vector<double> xs, ys;
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            xs.push_back(column * spacing + jitter(random));
            ys.push_back(row * spacing + jitter(random));
        }
    }
    std::vector<MapLine> lines;
    const auto street = [&](int from, int to) {
        const int count = pieces(random);
        double x = xs[static_cast<std::size_t>(from)], y = ys[static_cast<std::size_t>(from)];
        const double endX = xs[static_cast<std::size_t>(to)],
                     endY = ys[static_cast<std::size_t>(to)];
        for (int piece = 1; piece <= count; ++piece) {
            double nextX = endX, nextY = endY;
            if (piece < count) {
                nextX = x + (endX - x) / (count - piece + 1) + bend(random);
                nextY = y + (endY - y) / (count - piece + 1) + bend(random);
            }
            lines.push_back({x, y, nextX, nextY});
            x = nextX;
            y = nextY;
        }
    };
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const int at = row * side + column;
            if (column + 1 < side && tenth(random) != 0)
                street(at, at + 1);
            if (row + 1 < side && tenth(random) != 0)
                street(at, at + side);
            if (column + 1 < side && row + 1 < side && eighth(random) == 0)
                street(at, at + side + 1);
        }
    }
    return lines;
}

} // namespace vantrel::maps

#include "core/vga/through_vision.h"

#include "core/analysis/parallel_units.h"

#include <cmath>
#include <mutex>

namespace vantrel::vga {

namespace {

constexpr int kPointsPerUnit = 64;

// Calls cell(column, row) for the cells strictly between two cells: the line is followed from
// the first cell's centre in steps of one cell along its longer axis, adding the step in double
// precision as the peer tools do, and where a step lands within 1e-9 of a border across, both
// cells beside it are taken. So a line through a corner takes both cells only when the added
// steps land on the corner, which makes the count depend on the line's direction, as theirs does.
template <class Cell> void CellsBetween(int column1, int row1, int column2, int row2, Cell&& cell) {
    const double dx = column2 - column1, dy = row2 - row1;
    if (std::fabs(dx) == std::fabs(dy))
        return;
    const bool steep = std::fabs(dy) > std::fabs(dx);
    const double steps = std::max(std::fabs(dx), std::fabs(dy));
    const double stepX = dx / steps, stepY = dy / steps;
    double x = column1 + 0.5, y = row1 + 0.5;
    const auto last = static_cast<int>(steps);
    for (int step = 1; step < last; ++step) {
        x += stepX;
        y += stepY;
        const double across = steep ? x : y;
        if (std::fabs(std::floor(across) - across) < 1e-9) {
            const int high = static_cast<int>(std::floor(across + 0.5));
            const int low = static_cast<int>(std::floor(across - 0.5));
            if (steep) {
                cell(high, static_cast<int>(std::floor(y)));
                cell(low, static_cast<int>(std::floor(y)));
            } else {
                cell(static_cast<int>(std::floor(x)), high);
                cell(static_cast<int>(std::floor(x)), low);
            }
        } else {
            cell(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
        }
    }
}

} // namespace

std::vector<std::int64_t> ComputeThroughVision(const PointGrid& grid, const VisibilityGraph& graph,
                                               int threads, Progress* progress) {
    const int count = graph.pointCount();
    std::mutex mutex;
    std::vector<std::vector<std::int64_t>> tallies;
    const int units = (count + kPointsPerUnit - 1) / kPointsPerUnit;
    analysis::RunUnits(units, threads, progress, [&] {
        std::vector<std::int64_t>* tally = nullptr;
        {
            const std::lock_guard lock(mutex);
            tally = &tallies.emplace_back(static_cast<std::size_t>(count), 0);
        }
        return [&grid, &graph, count, tally](int unit) {
            const int last = std::min(count, (unit + 1) * kPointsPerUnit);
            for (int point = unit * kPointsPerUnit; point < last; ++point) {
                const int column = grid.columnOf(point), row = grid.rowOf(point);
                for (const PointRun& run : graph.runsOf(point)) {
                    for (std::int32_t other = run.first; other <= run.last; ++other) {
                        CellsBetween(column, row, grid.columnOf(other), grid.rowOf(other),
                                     [&](int c, int r) {
                                         const std::int32_t between = grid.pointAt(c, r);
                                         if (between >= 0)
                                             ++(*tally)[static_cast<std::size_t>(between)];
                                     });
                    }
                }
            }
        };
    });
    std::vector<std::int64_t> total(static_cast<std::size_t>(count), 0);
    for (const auto& tally : tallies)
        for (std::size_t point = 0; point < total.size(); ++point)
            total[point] += tally[point];
    return total;
}

} // namespace vantrel::vga

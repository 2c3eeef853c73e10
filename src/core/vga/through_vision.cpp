#include "core/vga/through_vision.h"

#include "core/analysis/parallel_units.h"

#include <cmath>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace vantrel::vga {

namespace {

constexpr int kPointsPerUnit = 64;

// Counts the cells strictly between two cells into `tally`, by cell number (row * columns +
// column): the line is followed from the first cell's centre one cell at a time along its longer
// axis, the step across added in double precision as the peer tools add it, and where a step
// lands within 1e-9 of a border across, both cells beside it are counted. So a line through a
// corner counts both cells only when the added steps land on the corner, which makes the count
// depend on the line's direction, as theirs does.
void CountCellsBetween(int column1, int row1, int column2, int row2, int columns,
                       std::int64_t* tally) {
    const int dx = column2 - column1, dy = row2 - row1;
    if (std::abs(dx) == std::abs(dy))
        return;
    const bool steep = std::abs(dy) > std::abs(dx);
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const int along = (steep ? dy : dx) > 0 ? 1 : -1;
    const double stepAcross = static_cast<double>(steep ? dx : dy) / steps;
    // Cell numbers are never negative, so a cast takes the floor.
    double across = (steep ? column1 : row1) + 0.5;
    const std::ptrdiff_t alongStride = steep ? columns : 1;
    const std::ptrdiff_t acrossStride = steep ? 1 : columns;
    std::ptrdiff_t alongBase = (steep ? row1 : column1) * alongStride;
    for (int step = 1; step < steps; ++step) {
        alongBase += along * alongStride;
        across += stepAcross;
        const int whole = static_cast<int>(across);
        const std::ptrdiff_t cell = alongBase + whole * acrossStride;
        ++tally[cell];
        if (across - whole < 1e-9)
            ++tally[cell - acrossStride];
    }
}

} // namespace

std::vector<std::int64_t> ComputeThroughVision(const PointGrid& grid, const VisibilityGraph& graph,
                                               int threads, Progress* progress) {
    const int count = graph.pointCount();
    const std::size_t cells = static_cast<std::size_t>(grid.columns()) * grid.rows();
    std::mutex mutex;
    // A deque, so that a thread adding its tally moves no other thread's.
    std::deque<std::vector<std::int64_t>> tallies;
    const int units = (count + kPointsPerUnit - 1) / kPointsPerUnit;
    analysis::RunUnits(units, threads, progress, [&] {
        std::vector<std::int64_t>* tally = nullptr;
        {
            const std::lock_guard lock(mutex);
            tally = &tallies.emplace_back(cells, 0);
        }
        return [&grid, &graph, count, tally](int unit) {
            const int last = std::min(count, (unit + 1) * kPointsPerUnit);
            for (int point = unit * kPointsPerUnit; point < last; ++point) {
                const int column = grid.columnOf(point), row = grid.rowOf(point);
                for (const PointRun& run : graph.runsOf(point))
                    for (std::int32_t other = run.first; other <= run.last; ++other)
                        CountCellsBetween(column, row, grid.columnOf(other), grid.rowOf(other),
                                          grid.columns(), tally->data());
            }
        };
    });
    // Cells that are not filled are counted too, and left out here.
    std::vector<std::int64_t> total(static_cast<std::size_t>(count), 0);
    for (int point = 0; point < count; ++point) {
        const std::size_t cell =
            static_cast<std::size_t>(grid.rowOf(point)) * grid.columns() + grid.columnOf(point);
        for (const auto& tally : tallies)
            total[static_cast<std::size_t>(point)] += tally[cell];
    }
    return total;
}

} // namespace vantrel::vga

// Which points of the grid see which, stored without its square: each point's visible points as
// runs of consecutive point numbers, which the rows of a grid make few.
#pragma once

#include "core/host/progress.h"
#include "core/vga/isovist.h"
#include "core/vga/point_grid.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace vantrel::vga {

// Points first .. last, both included.
struct PointRun {
    std::int32_t first = 0;
    std::int32_t last = 0;
    bool operator==(const PointRun&) const = default;
};

class VisibilityGraph {
public:
    VisibilityGraph() : m_offsets{0} {}

    int pointCount() const { return static_cast<int>(m_offsets.size()) - 1; }
    std::span<const PointRun> runsOf(int point) const {
        const auto index = static_cast<std::size_t>(point);
        return {m_runs.data() + m_offsets[index], m_offsets[index + 1] - m_offsets[index]};
    }
    // The number of points the point sees, itself not counted.
    std::int32_t connectivity(int point) const {
        return m_connectivity[static_cast<std::size_t>(point)];
    }
    std::size_t runCount() const { return m_runs.size(); }
    std::size_t bytes() const {
        return m_runs.capacity() * sizeof(PointRun) + m_offsets.capacity() * sizeof(std::size_t) +
               m_connectivity.capacity() * sizeof(std::int32_t);
    }

    // Adds the next point's runs, ascending and apart from one another.
    void append(std::span<const PointRun> runs);

private:
    std::vector<std::size_t> m_offsets;
    std::vector<PointRun> m_runs;
    std::vector<std::int32_t> m_connectivity;
};

// Thrown when the work would need more memory than allowed; the message says how much.
class TooLarge : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SightOptions {
    int threads = 1;
    // One step per 64 points, from the calling thread.
    Progress* progress = nullptr;
    // The visibility graph may take at most this many bytes.
    std::size_t maxBytes = SIZE_MAX;
};

struct Sights {
    VisibilityGraph graph;
    std::vector<IsovistMeasures> isovists;
};

// The extent that closes every isovist where no wall does: the grid's and the walls' extent with
// a cell to spare.
Extent FrameOf(const PointGrid& grid, const WallSet& walls);

// About how many bytes the visibility graph will take, from what a sample of its points see.
double EstimateGraphBytes(const PointGrid& grid, const WallSet& walls);

// Two points see each other when the segment between their centres neither crosses nor touches
// a wall. Each point's isovist gives what it sees, and wherever a point lies so near the isovist's
// edge that rounding could decide, the segment is tested exactly against the walls.
Sights LookFromEveryPoint(const PointGrid& grid, const WallSet& walls,
                          const SightOptions& options = {});

} // namespace vantrel::vga

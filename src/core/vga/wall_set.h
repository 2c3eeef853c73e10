// The walls of a plan for visibility graph analysis: exact tests of whether a segment meets one,
// and the walls cut where they cross, for the isovists.
#pragma once

#include "core/app/project_state.h"
#include "core/geometry/orientation.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::vga {

using geometry::DoublePoint;

struct Extent {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
    bool contains(DoublePoint p) const {
        return p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY;
    }
};

// True when the closed segments pq and ab share a point: they cross, touch, or overlap. Decided
// exactly on the doubles.
bool SegmentsMeet(DoublePoint p, DoublePoint q, DoublePoint a, DoublePoint b);

// A square grid of bins over an extent, each listing the segments that pass through it, so that
// a question about a place only looks at the segments near it.
class SegmentBins {
public:
    SegmentBins() = default;
    SegmentBins(std::span<const MapLine> segments, const Extent& extent, double binSize);

    double binSize() const { return m_binSize; }
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    int columnOf(double x) const;
    int rowOf(double y) const;
    std::span<const std::int32_t> in(int column, int row) const;

    // Calls visit(segment) for every segment in a bin the segment pq passes through, some more
    // than once.
    template <class Visit> void alongSegment(DoublePoint p, DoublePoint q, Visit&& visit) const;

private:
    // Every bin the segment may pass through, widened by a margin far above rounding.
    template <class Visit> void binsAlong(DoublePoint p, DoublePoint q, Visit&& visit) const;

    double m_originX = 0, m_originY = 0, m_binSize = 1;
    int m_columns = 0, m_rows = 0;
    std::vector<std::int64_t> m_starts;
    std::vector<std::int32_t> m_members;
};

class WallSet {
public:
    // Walls of zero length and walls with a coordinate that is not finite are left out.
    explicit WallSet(std::vector<MapLine> walls);

    std::span<const MapLine> walls() const { return m_walls; }
    // The walls cut at every point where one crosses another or ends on another, so that two
    // pieces share at most an end point.
    std::span<const MapLine> pieces() const { return m_pieces; }
    bool empty() const { return m_walls.empty(); }
    Extent extent() const { return m_extent; }

    // True when the closed segment pq meets a wall: crosses it or touches it, an end included.
    bool blocks(DoublePoint p, DoublePoint q) const;

private:
    std::vector<MapLine> m_walls;
    std::vector<MapLine> m_pieces;
    Extent m_extent;
    SegmentBins m_wallBins;
};

template <class Visit>
void SegmentBins::binsAlong(DoublePoint p, DoublePoint q, Visit&& visit) const {
    if (m_columns == 0)
        return;
    if (p.x > q.x)
        std::swap(p, q);
    // A margin of a thousandth of a bin covers any rounding of the bin arithmetic.
    const double margin = m_binSize * 1e-3;
    const int first = columnOf(p.x - margin);
    const int last = columnOf(q.x + margin);
    const double dx = q.x - p.x;
    for (int column = first; column <= last; ++column) {
        double x0 = m_originX + column * m_binSize - margin;
        double x1 = x0 + m_binSize + 2 * margin;
        x0 = std::max(x0, p.x);
        x1 = std::min(x1, q.x);
        double y0 = p.y, y1 = q.y;
        if (dx > 0) {
            const double slope = (q.y - p.y) / dx;
            y0 = p.y + slope * (x0 - p.x);
            y1 = p.y + slope * (x1 - p.x);
        }
        if (y0 > y1)
            std::swap(y0, y1);
        const int top = rowOf(y1 + margin);
        for (int row = rowOf(y0 - margin); row <= top; ++row)
            visit(column, row);
    }
}

template <class Visit>
void SegmentBins::alongSegment(DoublePoint p, DoublePoint q, Visit&& visit) const {
    binsAlong(p, q, [&](int column, int row) {
        for (const std::int32_t segment : in(column, row))
            visit(segment);
    });
}

} // namespace vantrel::vga

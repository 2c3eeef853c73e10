// The street map being cleaned: vertices, each one exact point, and straight segments between
// them. Pieces whose ends have exactly the same coordinates share that vertex, so a vertex that
// two ways have in common is where they meet, and crossing pieces without one never meet.
#pragma once

#include "core/app/project_state.h"
#include "core/geometry/orientation.h"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

namespace vantrel::streets {

using geometry::DoublePoint;

struct Segment {
    int from = 0, to = 0;
    // The id of the source feature the segment came from.
    std::int64_t source = 0;
    bool alive = true;
    int other(int vertex) const { return vertex == from ? to : from; }
    bool touches(int vertex) const { return from == vertex || to == vertex; }
};

class StreetNetwork {
public:
    // One segment per piece, in order, each with its source id. Pieces with a coordinate that is
    // not finite or beyond the exact range of the side test are left out and counted.
    StreetNetwork(std::span<const MapLine> pieces, std::span<const std::int64_t> sources);

    int vertexCount() const { return static_cast<int>(m_points.size()); }
    const DoublePoint& point(int vertex) const { return m_points[vertex]; }
    // The vertex at exactly this point, made when there is none.
    int vertexAt(DoublePoint point);
    // Alive segment ends at the vertex; a zero-length segment counts twice.
    int degree(int vertex) const { return m_degree[vertex]; }

    int segmentCount() const { return static_cast<int>(m_segments.size()); }
    const Segment& segment(int index) const { return m_segments[index]; }
    int add(int from, int to, std::int64_t source);
    void remove(int index);
    // Moves one end of a segment from `vertex` to `target`.
    void moveEnd(int index, int vertex, int target);

    MapLine line(int index) const;
    double length(int index) const;
    bool isZeroLength(int index) const { return m_segments[index].from == m_segments[index].to; }
    int aliveCount() const { return m_alive; }
    int skippedPieces() const { return m_skipped; }

private:
    std::vector<DoublePoint> m_points;
    // Vertices made after construction, by their exact coordinates; those before are found by a
    // search of the first m_sortedCount points, which are in lexicographic order.
    std::unordered_map<std::uint64_t, std::vector<int>> m_added;
    int m_sortedCount = 0;
    std::vector<int> m_degree;
    std::vector<Segment> m_segments;
    int m_alive = 0;
    int m_skipped = 0;
};

// (x, then y) order. For points on one line it is their order along the line.
inline bool Before(DoublePoint a, DoublePoint b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}
inline bool SamePoint(DoublePoint a, DoublePoint b) {
    return a.x == b.x && a.y == b.y;
}

double Distance(DoublePoint a, DoublePoint b);

// The point of segment a-b nearest to p and its position along it (0 at a, 1 at b).
struct Nearest {
    DoublePoint point;
    double along = 0;
    double distance = 0;
};
Nearest NearestOnSegment(DoublePoint p, DoublePoint a, DoublePoint b);

// True when p lies exactly on segment a-b, strictly between its ends (decided exactly).
bool LiesInside(DoublePoint p, DoublePoint a, DoublePoint b);

// The change of direction, in degrees from 0 (straight on) to 180 (back), from a-b to b-c.
double TurnDegrees(DoublePoint a, DoublePoint b, DoublePoint c);

} // namespace vantrel::streets

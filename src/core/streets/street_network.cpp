#include "core/streets/street_network.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace vantrel::streets {

namespace {

bool IsUsable(const MapLine& piece) {
    for (const double value : {piece.x1, piece.y1, piece.x2, piece.y2})
        if (!std::isfinite(value) || !geometry::IsExactCoordinate(value))
            return false;
    return true;
}

std::uint64_t PointKey(DoublePoint point) {
    // Adding 0 turns -0 into +0, the one point they both are.
    const std::uint64_t x = std::bit_cast<std::uint64_t>(point.x + 0.0);
    const std::uint64_t y = std::bit_cast<std::uint64_t>(point.y + 0.0);
    return x * 0x9e3779b97f4a7c15ULL ^ (y + (x >> 17));
}

} // namespace

StreetNetwork::StreetNetwork(std::span<const MapLine> pieces,
                             std::span<const std::int64_t> sources) {
    struct End {
        DoublePoint point;
        int segment;
        bool isFrom;
    };
    std::vector<End> ends;
    ends.reserve(2 * pieces.size());
    for (std::size_t index = 0; index < pieces.size(); ++index) {
        const MapLine& piece = pieces[index];
        if (!IsUsable(piece)) {
            ++m_skipped;
            continue;
        }
        const int segment = static_cast<int>(m_segments.size());
        const std::int64_t source =
            index < sources.size() ? sources[index] : static_cast<std::int64_t>(index + 1);
        m_segments.push_back({0, 0, source, true});
        ends.push_back({{piece.x1, piece.y1}, segment, true});
        ends.push_back({{piece.x2, piece.y2}, segment, false});
    }
    std::sort(ends.begin(), ends.end(),
              [](const End& a, const End& b) { return Before(a.point, b.point); });
    for (std::size_t at = 0; at < ends.size(); ++at) {
        if (at == 0 || !SamePoint(ends[at].point, ends[at - 1].point))
            m_points.push_back(ends[at].point);
        const int vertex = static_cast<int>(m_points.size()) - 1;
        Segment& segment = m_segments[ends[at].segment];
        (ends[at].isFrom ? segment.from : segment.to) = vertex;
    }
    m_sortedCount = static_cast<int>(m_points.size());
    m_degree.assign(m_points.size(), 0);
    for (const Segment& segment : m_segments) {
        ++m_degree[segment.from];
        ++m_degree[segment.to];
    }
    m_alive = static_cast<int>(m_segments.size());
}

int StreetNetwork::vertexAt(DoublePoint point) {
    const auto sortedEnd = m_points.begin() + m_sortedCount;
    const auto found = std::lower_bound(m_points.begin(), sortedEnd, point, Before);
    if (found != sortedEnd && SamePoint(*found, point))
        return static_cast<int>(found - m_points.begin());
    std::vector<int>& bucket = m_added[PointKey(point)];
    for (const int vertex : bucket)
        if (SamePoint(m_points[vertex], point))
            return vertex;
    m_points.push_back(point);
    m_degree.push_back(0);
    bucket.push_back(static_cast<int>(m_points.size()) - 1);
    return bucket.back();
}

int StreetNetwork::add(int from, int to, std::int64_t source) {
    m_segments.push_back({from, to, source, true});
    ++m_degree[from];
    ++m_degree[to];
    ++m_alive;
    return static_cast<int>(m_segments.size()) - 1;
}

void StreetNetwork::remove(int index) {
    Segment& segment = m_segments[index];
    if (!segment.alive)
        return;
    segment.alive = false;
    --m_degree[segment.from];
    --m_degree[segment.to];
    --m_alive;
}

void StreetNetwork::moveEnd(int index, int vertex, int target) {
    Segment& segment = m_segments[index];
    (segment.from == vertex ? segment.from : segment.to) = target;
    --m_degree[vertex];
    ++m_degree[target];
}

MapLine StreetNetwork::line(int index) const {
    const DoublePoint a = m_points[m_segments[index].from];
    const DoublePoint b = m_points[m_segments[index].to];
    return {a.x, a.y, b.x, b.y};
}

double StreetNetwork::length(int index) const {
    return Distance(m_points[m_segments[index].from], m_points[m_segments[index].to]);
}

double Distance(DoublePoint a, DoublePoint b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

Nearest NearestOnSegment(DoublePoint p, DoublePoint a, DoublePoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double squared = dx * dx + dy * dy;
    double along = squared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / squared : 0;
    along = std::clamp(along, 0.0, 1.0);
    const DoublePoint point = along == 0   ? a
                              : along == 1 ? b
                                           : DoublePoint{a.x + along * dx, a.y + along * dy};
    return {point, along, Distance(p, point)};
}

bool LiesInside(DoublePoint p, DoublePoint a, DoublePoint b) {
    if (geometry::Orientation(a, b, p) != 0)
        return false;
    const bool aFirst = Before(a, b);
    const DoublePoint low = aFirst ? a : b, high = aFirst ? b : a;
    return Before(low, p) && Before(p, high);
}

double TurnDegrees(DoublePoint a, DoublePoint b, DoublePoint c) {
    const double ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
    constexpr double kDegreesPerRadian = 57.29577951308232;
    return std::atan2(std::fabs(ux * vy - uy * vx), ux * vx + uy * vy) * kDegreesPerRadian;
}

} // namespace vantrel::streets

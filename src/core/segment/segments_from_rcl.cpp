// Road-centre lines made segments, joined where their end points meet.
#include "core/segment/segment_building.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>
#include <unordered_map>

namespace vantrel::segment {
namespace {

struct EndPoint {
    double x, y;
    // 2 * piece + end.
    int end;
};

class UnionFind {
public:
    explicit UnionFind(std::size_t size) : m_parent(size) {
        std::iota(m_parent.begin(), m_parent.end(), 0);
    }
    int find(int item) {
        while (m_parent[static_cast<std::size_t>(item)] != item) {
            int& parent = m_parent[static_cast<std::size_t>(item)];
            parent = m_parent[static_cast<std::size_t>(parent)];
            item = parent;
        }
        return item;
    }
    void join(int a, int b) {
        a = find(a);
        b = find(b);
        if (a != b)
            m_parent[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
    }

private:
    std::vector<int> m_parent;
};

// Joins the end points that are the same.
void JoinEqual(std::vector<EndPoint> points, UnionFind& nodes) {
    std::sort(points.begin(), points.end(), [](const EndPoint& a, const EndPoint& b) {
        return std::tie(a.x, a.y, a.end) < std::tie(b.x, b.y, b.end);
    });
    for (std::size_t index = 1; index < points.size(); ++index)
        if (points[index].x == points[index - 1].x && points[index].y == points[index - 1].y)
            nodes.join(points[index].end, points[index - 1].end);
}

// Joins the end points at most `tolerance` apart, looking in the cells of a grid of that size
// around each point. A point whose cell cannot be numbered is joined only to its equals.
void JoinNear(const std::vector<EndPoint>& points, double tolerance, UnionFind& nodes) {
    constexpr double kLargestCell = 1e15;
    const auto cellOf = [&](double value) { return std::floor(value / tolerance); };
    const auto key = [](std::int64_t column, std::int64_t row) {
        return static_cast<std::uint64_t>(column) * 0x9E3779B97F4A7C15ULL ^
               static_cast<std::uint64_t>(row);
    };
    std::unordered_map<std::uint64_t, std::vector<int>> cells;
    std::vector<EndPoint> unplaced;
    for (std::size_t index = 0; index < points.size(); ++index) {
        const double column = cellOf(points[index].x), row = cellOf(points[index].y);
        if (!(std::abs(column) < kLargestCell && std::abs(row) < kLargestCell)) {
            unplaced.push_back(points[index]);
            continue;
        }
        cells[key(static_cast<std::int64_t>(column), static_cast<std::int64_t>(row))].push_back(
            static_cast<int>(index));
    }
    JoinEqual(std::move(unplaced), nodes);
    for (const auto& [cell, members] : cells) {
        const EndPoint& sample = points[static_cast<std::size_t>(members.front())];
        const auto column = static_cast<std::int64_t>(cellOf(sample.x));
        const auto row = static_cast<std::int64_t>(cellOf(sample.y));
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const auto near = cells.find(key(column + dx, row + dy));
                if (near == cells.end())
                    continue;
                for (const int a : members)
                    for (const int b : near->second) {
                        const EndPoint& p = points[static_cast<std::size_t>(a)];
                        const EndPoint& q = points[static_cast<std::size_t>(b)];
                        if (a < b && std::hypot(p.x - q.x, p.y - q.y) <= tolerance)
                            nodes.join(p.end, q.end);
                    }
            }
        }
    }
}

} // namespace

RoadCentreLines SegmentsFromRoadCentreLines(std::span<const MapLine> pieces, double tolerance) {
    const std::size_t count = pieces.size();
    std::vector<EndPoint> points;
    points.reserve(2 * count);
    for (std::size_t piece = 0; piece < count; ++piece) {
        const MapLine& line = pieces[piece];
        points.push_back({line.x1, line.y1, static_cast<int>(2 * piece)});
        points.push_back({line.x2, line.y2, static_cast<int>(2 * piece + 1)});
    }
    // Every piece's end points take part, left out or not, so that a short piece between two
    // others still joins them.
    UnionFind nodes(2 * count);
    if (tolerance > 0)
        JoinNear(points, tolerance, nodes);
    else
        JoinEqual(points, nodes);

    RoadCentreLines result{SegmentMap({}, {}), 0, 0};
    // Pieces by their end points, the lesser first, to find repeats.
    std::vector<std::tuple<double, double, double, double, std::size_t>> byEnds;
    std::vector<bool> kept(count, false);
    for (std::size_t piece = 0; piece < count; ++piece) {
        const MapLine& line = pieces[piece];
        if (nodes.find(static_cast<int>(2 * piece)) ==
            nodes.find(static_cast<int>(2 * piece + 1))) {
            ++result.zeroLength;
            continue;
        }
        const auto start = std::pair(line.x1, line.y1), end = std::pair(line.x2, line.y2);
        const auto [low, high] = std::minmax(start, end);
        byEnds.emplace_back(low.first, low.second, high.first, high.second, piece);
        kept[piece] = true;
    }
    std::sort(byEnds.begin(), byEnds.end());
    for (std::size_t index = 1; index < byEnds.size(); ++index) {
        const auto ends = [&](std::size_t at) {
            const auto& [ax, ay, bx, by, piece] = byEnds[at];
            return std::tuple(ax, ay, bx, by);
        };
        if (ends(index) == ends(index - 1)) {
            kept[std::get<4>(byEnds[index])] = false;
            ++result.repeated;
        }
    }

    std::vector<Segment> segments;
    std::vector<int> segmentOf(count, -1);
    for (std::size_t piece = 0; piece < count; ++piece) {
        if (!kept[piece])
            continue;
        const MapLine& line = pieces[piece];
        segmentOf[piece] = static_cast<int>(segments.size());
        segments.push_back(
            {line, static_cast<int>(piece), std::hypot(line.x2 - line.x1, line.y2 - line.y1)});
    }

    // The segment ends at each meeting point, every one meeting every other.
    std::vector<std::pair<int, int>> endsByNode;
    for (std::size_t end = 0; end < 2 * count; ++end)
        if (segmentOf[end / 2] >= 0)
            endsByNode.emplace_back(nodes.find(static_cast<int>(end)), static_cast<int>(end));
    std::sort(endsByNode.begin(), endsByNode.end());
    std::vector<std::pair<int, Connection>> connections;
    for (std::size_t from = 0; from < endsByNode.size();) {
        std::size_t to = from;
        while (to < endsByNode.size() && endsByNode[to].first == endsByNode[from].first)
            ++to;
        for (std::size_t i = from; i < to; ++i)
            for (std::size_t j = i + 1; j < to; ++j) {
                const int a = endsByNode[i].second, b = endsByNode[j].second;
                const int aSegment = segmentOf[static_cast<std::size_t>(a / 2)];
                const int bSegment = segmentOf[static_cast<std::size_t>(b / 2)];
                AddMeeting(connections, aSegment, a % 2,
                           segments[static_cast<std::size_t>(aSegment)].line, bSegment, b % 2,
                           segments[static_cast<std::size_t>(bSegment)].line);
            }
        from = to;
    }
    result.map = SegmentMap(std::move(segments), std::move(connections));
    return result;
}

} // namespace vantrel::segment

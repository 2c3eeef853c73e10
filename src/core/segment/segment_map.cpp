#include "core/segment/segment_map.h"

#include "core/geometry/orientation.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <stdexcept>
#include <tuple>

namespace vantrel::segment {

SegmentMap::SegmentMap(std::vector<Segment> segments,
                       std::vector<std::pair<int, Connection>> connections)
    : m_segments(std::move(segments)) {
    const auto key = [](const std::pair<int, Connection>& item) {
        return std::tie(item.first, item.second.to, item.second.toEnd);
    };
    std::sort(connections.begin(), connections.end(),
              [&](const auto& a, const auto& b) { return key(a) < key(b); });
    // A meeting found twice is one connection.
    connections.erase(std::unique(connections.begin(), connections.end(),
                                  [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                      connections.end());
    const std::size_t ends = 2 * m_segments.size();
    m_endStarts.assign(ends + 1, 0);
    m_connections.reserve(connections.size());
    for (const auto& [end, connection] : connections) {
        if (end < 0 || static_cast<std::size_t>(end) >= ends)
            throw std::invalid_argument("a connection names no segment end");
        ++m_endStarts[static_cast<std::size_t>(end) + 1];
        m_connections.push_back(connection);
    }
    std::partial_sum(m_endStarts.begin(), m_endStarts.end(), m_endStarts.begin());
}

std::span<const Connection> SegmentMap::at(int segment, int end) const {
    const auto index = static_cast<std::size_t>(2 * segment + end);
    return std::span(m_connections)
        .subspan(static_cast<std::size_t>(m_endStarts[index]),
                 static_cast<std::size_t>(m_endStarts[index + 1] - m_endStarts[index]));
}

int SegmentMap::connectivity(int segment) const {
    return static_cast<int>(at(segment, 0).size() + at(segment, 1).size());
}

double SegmentMap::angularConnectivity(int segment) const {
    double sum = 0;
    for (const int end : {0, 1})
        for (const Connection& connection : at(segment, end))
            sum += connection.turn;
    return sum;
}

double TurnBetween(double ux, double uy, double vx, double vy) {
    // The cross product's sign is exact, so exactly parallel directions give an angle of exactly
    // 0 or pi; atan2 keeps small and near-reversal angles accurate where acos would not.
    const double cross =
        std::abs(geometry::Orientation(geometry::DoublePoint{0, 0}, {ux, uy}, {vx, vy}));
    const double dot = ux * vx + uy * vy;
    if (cross == 0 && dot == 0)
        return 0;
    return std::atan2(cross, dot) * 2 / std::numbers::pi;
}

void AddMeeting(std::vector<std::pair<int, Connection>>& connections, int a, int aEnd,
                const MapLine& aLine, int b, int bEnd, const MapLine& bLine) {
    // Leaving a through its end travels along a (backwards through its start); entering b at its
    // start travels along b.
    const double aSign = aEnd == 1 ? 1 : -1;
    const double bSign = bEnd == 0 ? 1 : -1;
    const double turn = TurnBetween(aSign * (aLine.x2 - aLine.x1), aSign * (aLine.y2 - aLine.y1),
                                    bSign * (bLine.x2 - bLine.x1), bSign * (bLine.y2 - bLine.y1));
    connections.push_back({2 * a + aEnd, {b, bEnd, turn}});
    connections.push_back({2 * b + bEnd, {a, aEnd, turn}});
}

SegmentGroups GroupsOf(const SegmentMap& map) {
    const int count = map.segmentCount();
    std::vector<int> group(static_cast<std::size_t>(count), -1);
    std::vector<int> stack;
    SegmentGroups groups;
    for (int start = 0; start < count; ++start) {
        if (group[static_cast<std::size_t>(start)] >= 0)
            continue;
        group[static_cast<std::size_t>(start)] = start;
        stack.assign(1, start);
        int size = 0;
        while (!stack.empty()) {
            const int segment = stack.back();
            stack.pop_back();
            ++size;
            for (const int end : {0, 1})
                for (const Connection& connection : map.at(segment, end))
                    if (group[static_cast<std::size_t>(connection.to)] < 0) {
                        group[static_cast<std::size_t>(connection.to)] = start;
                        stack.push_back(connection.to);
                    }
        }
        if (size == 1) {
            ++groups.isolated;
        } else {
            ++groups.groups;
            groups.largest = std::max(groups.largest, size);
        }
    }
    return groups;
}

} // namespace vantrel::segment

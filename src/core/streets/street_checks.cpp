#include "core/streets/street_checks.h"

#include "core/geometry/intersections.h"
#include "core/geometry/line_grid.h"
#include "core/streets/segment_grid.h"

#include <algorithm>
#include <numeric>

namespace vantrel::streets {

namespace {

// The groups of connected segments, each by its root vertex, with its size and longest segment.
class Groups {
public:
    explicit Groups(const StreetNetwork& network)
        : m_network(network), m_parent(network.vertexCount()), m_size(network.vertexCount(), 0),
          m_longest(network.vertexCount(), -1) {
        std::iota(m_parent.begin(), m_parent.end(), 0);
        for (int index = 0; index < network.segmentCount(); ++index) {
            const Segment& segment = network.segment(index);
            if (!segment.alive)
                continue;
            const int a = root(segment.from), b = root(segment.to);
            m_parent[std::max(a, b)] = std::min(a, b);
        }
        for (int index = 0; index < network.segmentCount(); ++index) {
            if (!network.segment(index).alive)
                continue;
            const int group = of(index);
            ++m_size[group];
            if (m_longest[group] < 0 || network.length(index) > network.length(m_longest[group]))
                m_longest[group] = index;
        }
    }

    int of(int segment) { return root(m_network.segment(segment).from); }
    int size(int group) const { return m_size[group]; }
    int count() const { return m_network.vertexCount(); }

    // The group at the middle of its longest segment.
    Problem problem(int group, bool fixed) const {
        const int longest = m_longest[group];
        const MapLine line = m_network.line(longest);
        const double x = (line.x1 + line.x2) / 2, y = (line.y1 + line.y2) / 2;
        return {ProblemType::SmallGroup,
                fixed,
                {x, y, x, y},
                static_cast<double>(m_size[group]),
                m_network.segment(longest).source};
    }

private:
    int root(int item) {
        while (m_parent[item] != item)
            item = m_parent[item] = m_parent[m_parent[item]];
        return item;
    }

    const StreetNetwork& m_network;
    std::vector<int> m_parent, m_size, m_longest;
};

} // namespace

std::vector<int> DropSmallGroups(StreetNetwork& network, int minGroup,
                                 std::vector<Problem>& problems) {
    std::vector<int> dropped;
    if (minGroup <= 0)
        return dropped;
    Groups groups(network);
    for (int group = 0; group < groups.count(); ++group)
        if (groups.size(group) > 0 && groups.size(group) < minGroup)
            problems.push_back(groups.problem(group, true));
    for (int index = 0; index < network.segmentCount(); ++index) {
        if (network.segment(index).alive && groups.size(groups.of(index)) < minGroup) {
            network.remove(index);
            dropped.push_back(index);
        }
    }
    return dropped;
}

GroupCounts ReportGroups(const StreetNetwork& network, std::vector<Problem>& problems) {
    Groups groups(network);
    GroupCounts counts;
    int largest = -1;
    for (int group = 0; group < groups.count(); ++group) {
        if (groups.size(group) == 0)
            continue;
        ++counts.groups;
        if (groups.size(group) > counts.largest) {
            counts.largest = groups.size(group);
            largest = group;
        }
    }
    for (int group = 0; group < groups.count(); ++group)
        if (groups.size(group) > 0 && group != largest)
            problems.push_back(groups.problem(group, false));
    return counts;
}

void CheckEndsAndLengths(const StreetNetwork& network, double distance,
                         std::vector<Problem>& problems) {
    if (!(distance > 0))
        return;
    SegmentGrid grid(network, distance);
    for (int index = 0; index < network.segmentCount(); ++index) {
        const Segment& segment = network.segment(index);
        if (!segment.alive)
            continue;
        if (network.length(index) < distance)
            problems.push_back({ProblemType::VeryShortSegment, false, network.line(index),
                                network.length(index), segment.source});
        for (const int end : {segment.from, segment.to}) {
            if (network.degree(end) != 1)
                continue;
            const int neighbour = segment.other(end);
            const DoublePoint at = network.point(end);
            double nearest = distance;
            bool found = false;
            grid.forEachNear(at, at, distance, [&](int line) {
                const Segment& other = network.segment(line);
                if (!other.alive || other.touches(end) || other.touches(neighbour))
                    return;
                const double apart =
                    NearestOnSegment(at, network.point(other.from), network.point(other.to))
                        .distance;
                if (apart <= nearest) {
                    nearest = apart;
                    found = true;
                }
            });
            if (found)
                problems.push_back({ProblemType::UnconnectedEnd,
                                    false,
                                    {at.x, at.y, at.x, at.y},
                                    nearest,
                                    segment.source});
        }
    }
}

int CheckCrossings(const StreetNetwork& network, std::vector<Problem>& problems) {
    std::vector<int> segments;
    std::vector<MapLine> lines;
    for (int index = 0; index < network.segmentCount(); ++index) {
        if (network.segment(index).alive) {
            segments.push_back(index);
            lines.push_back(network.line(index));
        }
    }
    const geometry::LineGrid grid(lines);
    int crossings = 0;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const Segment& first = network.segment(segments[i]);
        grid.forEachNear(i, [&](int j) {
            const Segment& second = network.segment(segments[j]);
            if (second.touches(first.from) || second.touches(first.to))
                return;
            const auto crossing = geometry::CrossLines(lines[i], lines[j]);
            if (!crossing)
                return;
            ++crossings;
            if (first.source == second.source)
                problems.push_back({ProblemType::SelfCrossing,
                                    false,
                                    {crossing->x, crossing->y, crossing->x, crossing->y},
                                    0,
                                    first.source});
        });
    }
    return crossings;
}

} // namespace vantrel::streets

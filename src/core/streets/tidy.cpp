#include "core/streets/tidy.h"

#include "core/streets/segment_grid.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <tuple>

namespace vantrel::streets {

namespace {

class UnionFind {
public:
    explicit UnionFind(int size) : m_parent(size) {
        std::iota(m_parent.begin(), m_parent.end(), 0);
    }
    int find(int item) {
        while (m_parent[item] != item)
            item = m_parent[item] = m_parent[m_parent[item]];
        return item;
    }
    void join(int a, int b) {
        a = find(a);
        b = find(b);
        if (a != b)
            m_parent[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<int> m_parent;
};

MapLine Between(DoublePoint a, DoublePoint b) {
    return {a.x, a.y, b.x, b.y};
}

// Replaces the segments of one cluster, all on one line, by the pieces between their ends.
void ResolveCluster(StreetNetwork& network, const std::vector<int>& members,
                    std::vector<Problem>& problems, OverlapCounts& counts) {
    std::vector<int> points;
    for (const int member : members) {
        points.push_back(network.segment(member).from);
        points.push_back(network.segment(member).to);
    }
    const auto before = [&](int a, int b) { return Before(network.point(a), network.point(b)); };
    std::sort(points.begin(), points.end(), before);
    points.erase(std::unique(points.begin(), points.end()), points.end());
    const auto rank = [&](int vertex) {
        return static_cast<int>(std::lower_bound(points.begin(), points.end(), vertex, before) -
                                points.begin());
    };
    // Each member covers the intervals from its lower end's rank to its upper end's.
    std::vector<std::tuple<int, int, int>> spans;
    for (const int member : members) {
        const Segment& segment = network.segment(member);
        const int from = rank(segment.from), to = rank(segment.to);
        spans.emplace_back(std::min(from, to), std::max(from, to), member);
    }
    std::sort(spans.begin(), spans.end());

    struct Piece {
        int from, to;
        std::int64_t source;
    };
    std::vector<Piece> pieces;
    std::set<int> covering;
    std::multiset<std::pair<int, int>> ending;
    std::size_t next = 0;
    // The stretch drawn more than once that is being followed, if any.
    int stretchStart = -1;
    std::int64_t stretchSource = 0;
    const auto closeStretch = [&](int endRank) {
        const DoublePoint from = network.point(points[stretchStart]);
        const DoublePoint to = network.point(points[endRank]);
        problems.push_back(
            {ProblemType::Overlap, true, Between(from, to), Distance(from, to), stretchSource});
        ++counts.stretches;
        stretchStart = -1;
    };
    for (int interval = 0; interval + 1 < static_cast<int>(points.size()); ++interval) {
        while (!ending.empty() && ending.begin()->first <= interval) {
            covering.erase(ending.begin()->second);
            ending.erase(ending.begin());
        }
        while (next < spans.size() && std::get<0>(spans[next]) == interval) {
            covering.insert(std::get<2>(spans[next]));
            ending.emplace(std::get<1>(spans[next]), std::get<2>(spans[next]));
            ++next;
        }
        const bool twice = covering.size() >= 2;
        if (twice && stretchStart < 0) {
            stretchStart = interval;
            stretchSource = network.segment(*std::next(covering.begin())).source;
        }
        if (!twice && stretchStart >= 0)
            closeStretch(interval);
        if (covering.empty())
            continue;
        const Segment& kept = network.segment(*covering.begin());
        const bool forward = before(kept.from, kept.to);
        const int low = points[interval], high = points[interval + 1];
        pieces.push_back({forward ? low : high, forward ? high : low, kept.source});
    }
    if (stretchStart >= 0)
        closeStretch(static_cast<int>(points.size()) - 1);
    for (const int member : members)
        network.remove(member);
    for (const Piece& piece : pieces)
        network.add(piece.from, piece.to, piece.source);
    counts.segments += static_cast<int>(members.size());
}

} // namespace

int DropZeroLength(StreetNetwork& network) {
    int dropped = 0;
    for (int index = 0; index < network.segmentCount(); ++index) {
        if (network.segment(index).alive && network.isZeroLength(index)) {
            network.remove(index);
            ++dropped;
        }
    }
    return dropped;
}

int DropDuplicates(StreetNetwork& network, std::vector<Problem>& problems) {
    std::vector<std::tuple<int, int, int>> keys;
    for (int index = 0; index < network.segmentCount(); ++index) {
        const Segment& segment = network.segment(index);
        if (segment.alive)
            keys.emplace_back(std::min(segment.from, segment.to),
                              std::max(segment.from, segment.to), index);
    }
    std::sort(keys.begin(), keys.end());
    int dropped = 0;
    for (std::size_t at = 1; at < keys.size(); ++at) {
        const auto [from, to, index] = keys[at];
        if (from != std::get<0>(keys[at - 1]) || to != std::get<1>(keys[at - 1]))
            continue;
        problems.push_back({ProblemType::Duplicate, true, network.line(index),
                            network.length(index), network.segment(index).source});
        network.remove(index);
        ++dropped;
    }
    return dropped;
}

bool OverlapAlongLine(DoublePoint a, DoublePoint b, DoublePoint c, DoublePoint d) {
    if (SamePoint(a, b) || SamePoint(c, d))
        return false;
    if (geometry::Orientation(a, b, c) != 0 || geometry::Orientation(a, b, d) != 0)
        return false;
    // On one line the (x, then y) order is the order along it.
    const DoublePoint lowAB = Before(a, b) ? a : b, highAB = Before(a, b) ? b : a;
    const DoublePoint lowCD = Before(c, d) ? c : d, highCD = Before(c, d) ? d : c;
    const DoublePoint low = Before(lowAB, lowCD) ? lowCD : lowAB;
    const DoublePoint high = Before(highAB, highCD) ? highAB : highCD;
    return Before(low, high);
}

OverlapCounts MergeOverlaps(StreetNetwork& network, std::vector<Problem>& problems) {
    OverlapCounts counts;
    const int segmentCount = network.segmentCount();
    UnionFind clusters(segmentCount);
    std::vector<bool> overlaps(segmentCount, false);
    SegmentGrid grid(network, 0);
    for (int index = 0; index < segmentCount; ++index) {
        const Segment& segment = network.segment(index);
        if (!segment.alive || segment.from == segment.to)
            continue;
        const DoublePoint a = network.point(segment.from), b = network.point(segment.to);
        grid.forEachNear(a, b, 0, [&](int other) {
            const Segment& candidate = network.segment(other);
            if (other <= index || !candidate.alive)
                return;
            // Exact duplicates are the duplicates step's; kept when it is skipped.
            if (std::minmax(segment.from, segment.to) == std::minmax(candidate.from, candidate.to))
                return;
            if (!OverlapAlongLine(a, b, network.point(candidate.from), network.point(candidate.to)))
                return;
            clusters.join(index, other);
            overlaps[index] = overlaps[other] = true;
        });
    }
    std::vector<std::pair<int, int>> byCluster;
    for (int index = 0; index < segmentCount; ++index)
        if (overlaps[index])
            byCluster.emplace_back(clusters.find(index), index);
    std::sort(byCluster.begin(), byCluster.end());
    std::vector<int> members;
    for (std::size_t at = 0; at < byCluster.size(); ++at) {
        members.push_back(byCluster[at].second);
        if (at + 1 == byCluster.size() || byCluster[at + 1].first != byCluster[at].first) {
            ResolveCluster(network, members, problems, counts);
            members.clear();
        }
    }
    return counts;
}

} // namespace vantrel::streets

#include "core/streets/snapping.h"

#include <algorithm>

namespace vantrel::streets {

namespace {

// Better targets first: an exact contact, then end points, then lines; nearer first; and a
// fixed order among equals.
bool Better(const SnapTarget& a, const SnapTarget& b, const StreetNetwork& network) {
    if (a.kind != b.kind)
        return a.kind < b.kind;
    if (a.distance != b.distance)
        return a.distance < b.distance;
    if (a.kind == SnapTarget::Kind::ToEnd)
        return Before(network.point(a.index), network.point(b.index));
    return a.index < b.index;
}

// Splits `line` at `vertex`, keeping its direction and source; returns the two pieces.
std::pair<int, int> Split(StreetNetwork& network, SegmentGrid& grid, int line, int vertex) {
    const Segment old = network.segment(line);
    network.remove(line);
    const int first = network.add(old.from, vertex, old.source);
    const int second = network.add(vertex, old.to, old.source);
    grid.add(first);
    grid.add(second);
    return {first, second};
}

} // namespace

std::optional<SnapTarget> FindSnapTarget(const StreetNetwork& network, SegmentGrid& grid, int end,
                                         int segment, double distance) {
    const int neighbour = network.segment(segment).other(end);
    const DoublePoint at = network.point(end);
    std::optional<SnapTarget> best;
    const auto offer = [&](const SnapTarget& target) {
        if (!best || Better(target, *best, network))
            best = target;
    };
    grid.forEachNear(at, at, distance, [&](int line) {
        const Segment& candidate = network.segment(line);
        if (!candidate.alive || candidate.touches(end) || candidate.touches(neighbour))
            return;
        const DoublePoint a = network.point(candidate.from), b = network.point(candidate.to);
        if (LiesInside(at, a, b)) {
            offer({SnapTarget::Kind::OnLine, line, at, 0});
            return;
        }
        for (const int vertex : {candidate.from, candidate.to}) {
            const double apart = Distance(at, network.point(vertex));
            if (apart <= distance)
                offer({SnapTarget::Kind::ToEnd, vertex, network.point(vertex), apart});
        }
        const Nearest nearest = NearestOnSegment(at, a, b);
        if (nearest.along > 0 && nearest.along < 1 && nearest.distance <= distance)
            offer({SnapTarget::Kind::ToLine, line, nearest.point, nearest.distance});
    });
    return best;
}

bool SnapEnds(StreetNetwork& network, double distance, std::vector<Problem>& problems,
              SnapCounts& counts) {
    SegmentGrid grid(network, distance);
    // The one segment of every unconnected end, kept up to date as lines are split.
    std::vector<int> only(network.vertexCount(), -1);
    for (int index = 0; index < network.segmentCount(); ++index) {
        const Segment& segment = network.segment(index);
        if (segment.alive)
            for (const int vertex : {segment.from, segment.to})
                if (network.degree(vertex) == 1)
                    only[vertex] = index;
    }
    const auto keepOnly = [&](int piece) {
        for (const int vertex : {network.segment(piece).from, network.segment(piece).to})
            if (network.degree(vertex) == 1)
                only[vertex] = piece;
    };
    bool changed = false;
    for (bool again = true; again;) {
        again = false;
        std::vector<int> ends;
        for (int vertex = 0; vertex < static_cast<int>(only.size()); ++vertex)
            if (only[vertex] >= 0 && network.degree(vertex) == 1)
                ends.push_back(vertex);
        std::sort(ends.begin(), ends.end(),
                  [&](int a, int b) { return Before(network.point(a), network.point(b)); });
        for (const int end : ends) {
            if (network.degree(end) != 1)
                continue;
            const int segment = only[end];
            const std::optional<SnapTarget> target =
                FindSnapTarget(network, grid, end, segment, distance);
            if (!target)
                continue;
            const int joined = target->kind == SnapTarget::Kind::ToEnd
                                   ? target->index
                                   : network.vertexAt(target->point);
            if (joined == network.segment(segment).other(end))
                continue;
            only.resize(network.vertexCount(), -1);
            // A point of a line that rounds to one of its ends joins that end.
            if (target->kind != SnapTarget::Kind::ToEnd &&
                !network.segment(target->index).touches(joined)) {
                const auto [first, second] = Split(network, grid, target->index, joined);
                keepOnly(first);
                keepOnly(second);
            }
            if (joined != end) {
                network.moveEnd(segment, end, joined);
                grid.add(segment);
            }
            const DoublePoint at = network.point(joined);
            problems.push_back({ProblemType::UnconnectedEnd,
                                true,
                                {at.x, at.y, at.x, at.y},
                                target->distance,
                                network.segment(segment).source});
            ++(target->kind == SnapTarget::Kind::OnLine  ? counts.onLines
               : target->kind == SnapTarget::Kind::ToEnd ? counts.toEnds
                                                         : counts.toLines);
            changed = again = true;
        }
    }
    return changed;
}

} // namespace vantrel::streets

// Closing the gaps at unconnected ends: an end within the snap distance of another end point or
// of another line is joined to it.
#pragma once

#include "core/streets/problems.h"
#include "core/streets/segment_grid.h"
#include "core/streets/street_network.h"

#include <optional>
#include <vector>

namespace vantrel::streets {

struct SnapCounts {
    // Ends joined to an end point (any vertex) within the distance.
    int toEnds = 0;
    // Ends joined to the nearest point of a line within the distance, the line split there.
    int toLines = 0;
    // Ends lying exactly on a line, which is split there; the end does not move.
    int onLines = 0;
};

// Where an unconnected end would be joined.
struct SnapTarget {
    enum class Kind { OnLine, ToEnd, ToLine } kind = Kind::ToEnd;
    // The vertex (ToEnd) or the line (OnLine, ToLine).
    int index = 0;
    DoublePoint point;
    double distance = 0;
};

// The target of the unconnected end `end`, whose one segment is `segment`: a line the end lies
// on exactly, else the nearest vertex within `distance`, else the nearest point within `distance`
// inside a line. Segments that touch the end or the other end of its segment are not targets, so
// that an end is never joined to its own segment or folded onto its neighbour.
std::optional<SnapTarget> FindSnapTarget(const StreetNetwork& network, SegmentGrid& grid, int end,
                                         int segment, double distance);

// Joins every unconnected end that has a target, nearest first in the (x, then y) order of the
// ends, and again until no end has one. Each join is a fixed unconnected-end problem. Returns
// whether anything changed.
bool SnapEnds(StreetNetwork& network, double distance, std::vector<Problem>& problems,
              SnapCounts& counts);

} // namespace vantrel::streets

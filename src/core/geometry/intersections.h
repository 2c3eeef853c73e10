// Where axial lines cross: the test of one pair and the searches that build the junction table.
#pragma once

#include "core/app/project_state.h"
#include "core/host/progress.h"

#include <functional>
#include <optional>
#include <vector>

namespace vantrel::geometry {

struct Crossing {
    float x = 0, y = 0;
    bool operator==(const Crossing&) const = default;
};

struct MapCrossing {
    double x = 0, y = 0;
    bool operator==(const MapCrossing&) const = default;
};

// Where `first` and `second` cross, if they do. With s the position along `first` (0 at its
// start, 1 at its end) and t the position along `second`, they cross when 0 <= s <= 1 and
// 0 <= t <= 1, ends included and no tolerance: an L whose ends meet and a T ending exactly on
// the other line cross, lines stopping short by any amount do not. Parallel and collinear lines
// (overlapping or not) and lines of zero length never cross. The decision is exact for every
// pair of finite float coordinates; the point, s * (x2 - x1) + x1 along `first`, is rounded once
// to float and is exactly the shared end point when `first` ends on `second`. Lines with a
// non-finite coordinate cross nothing.
std::optional<Crossing> CrossLines(const AxialLine& first, const AxialLine& second);
// The same rule, decided exactly on doubles, and the point in double precision: for coordinates
// floats hold, the float version's point before its rounding to float. Lines with a coordinate
// beyond the exact range of the side test (see orientation.h) cross nothing.
std::optional<MapCrossing> CrossLines(const MapLine& first, const MapLine& second);

struct JunctionSearch {
    std::vector<Junction> junctions;
    bool capacityExceeded = false;
};

// Tests every pair of lines, line i against each later line j, and lists the crossings as
// junctions (i + 1, j + 1, x, y) ordered by first line, then second line. `onFound` hears the
// running count after each crossing. The crossing that brings the count to `capacity` is
// refused: the search stops there with capacityExceeded and no junctions (the desktop passes
// kMaxJunctions, so at most 499 junctions are ever kept).
JunctionSearch FindJunctions(const std::vector<AxialLine>& lines, int capacity,
                             const std::function<void(int found)>& onFound = {});

// The same junctions, in the same order, as an unlimited FindJunctions, for maps of any size and
// with whole line numbers: only lines near each other in a LineGrid are tested. Memory grows with
// the lines plus the crossings. Progress counts lines, reported about a hundred times.
std::vector<MapJunction> FindAllJunctions(const std::vector<MapLine>& lines, Progress& progress);
std::vector<MapJunction> FindAllJunctions(const std::vector<MapLine>& lines);

// Where two lines that do not cross come within `tolerance` of each other (nearest points at
// most that far apart, collinear overlapping lines included), the middle of their nearest
// points; nothing for lines of zero length or with a non-finite coordinate, and nothing when the
// tolerance is 0. Computed in double precision.
std::optional<MapCrossing> NearLines(const MapLine& first, const MapLine& second, double tolerance);

struct NearJunctions {
    std::vector<MapJunction> junctions;
    // How many of them join lines that neither cross nor touch.
    int nearOnly = 0;
};

// FindAllJunctions, with lines that come within `tolerance` of each other related too, their
// junction at the middle of their nearest points. A tolerance of 0 gives FindAllJunctions.
NearJunctions FindJunctionsWithin(const std::vector<MapLine>& lines, double tolerance,
                                  Progress& progress);

} // namespace vantrel::geometry

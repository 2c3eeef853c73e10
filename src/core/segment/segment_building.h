// Building segment maps: from axial lines cut at their junctions, and from road-centre lines
// joined where their end points meet.
#pragma once

#include "core/segment/segment_map.h"

#include <span>

namespace vantrel::segment {

// Cut points closer together than this share of their line are one junction, and end pieces
// shorter than it are dropped whatever the stub removal: rounding can leave them where a line
// ends on another.
inline constexpr double kNegligibleShare = 1e-6;

// Every line is cut where it meets another at one of `junctions` (line numbers 1-based; a
// junction's point is projected onto each of its lines). Pieces of one line join end to end with
// no turn; at a junction every piece of one line meets every piece of the other. The piece from
// a line's end to its first cut is dropped when it is shorter than `stubPercent` % of the line
// (0 to 50), or negligible. A line that meets nothing is one segment. Segments are numbered by
// their line, then from the line's start.
SegmentMap SegmentsFromAxialLines(std::span<const MapLine> lines,
                                  std::span<const MapJunction> junctions, double stubPercent);

struct RoadCentreLines {
    SegmentMap map;
    // Pieces left out: of zero length (or whose ends meet within the tolerance), and repeats of
    // an earlier piece with the same two end points.
    int zeroLength = 0;
    int repeated = 0;
};

// Every piece is a segment, in order, but those left out. Segments meet where their end points
// are the same, or with a `tolerance` above 0 at most that far apart (a chain of such points
// being one meeting point), every segment there meeting every other; lines that cross without
// a shared end point do not meet.
RoadCentreLines SegmentsFromRoadCentreLines(std::span<const MapLine> pieces, double tolerance);

} // namespace vantrel::segment

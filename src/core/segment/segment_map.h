// The segment map: the pieces of a street network between its junctions, and the turns from
// each piece onto the next.
#pragma once

#include "core/app/project_state.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::segment {

// A segment runs from its start (end 0) to its end (end 1).
struct Segment {
    MapLine line;
    // The 0-based index of the line (or road-centre-line piece) it was cut from.
    int sourceLine = 0;
    double length = 0;
};

// Leaving a segment through one of its ends onto segment `to`, entered at its end `toEnd`, with
// a turn of `turn` right angles: 0 straight on, 1 a right angle, 2 a full reversal.
struct Connection {
    int to = 0;
    int toEnd = 0;
    double turn = 0;
    bool operator==(const Connection&) const = default;
};

class SegmentMap {
public:
    // `connections` pairs a segment end (2 * segment + end) with where it leads; every
    // connection must be listed from both sides.
    SegmentMap(std::vector<Segment> segments, std::vector<std::pair<int, Connection>> connections);

    int segmentCount() const { return static_cast<int>(m_segments.size()); }
    const Segment& segment(int index) const { return m_segments[static_cast<std::size_t>(index)]; }
    std::span<const Segment> segments() const { return m_segments; }
    // The connections at one end of a segment, ordered by the segment and end they lead to.
    std::span<const Connection> at(int segment, int end) const;

    // The connections at both ends, and the sum of their turns.
    int connectivity(int segment) const;
    double angularConnectivity(int segment) const;

private:
    std::vector<Segment> m_segments;
    std::vector<std::int64_t> m_endStarts;
    std::vector<Connection> m_connections;
};

// The turn from travelling along (ux, uy) to travelling along (vx, vy), in right angles from 0
// to 2; directions of zero length turn by 0. Exactly 0 and 2 for exactly parallel directions, and
// exactly 1 for exactly perpendicular ones.
double TurnBetween(double ux, double uy, double vx, double vy);

// Adds the meeting of segment `a` at its end `aEnd` with segment `b` at its end `bEnd`, from both
// sides; each segment's line gives its direction from start to end.
void AddMeeting(std::vector<std::pair<int, Connection>>& connections, int a, int aEnd,
                const MapLine& aLine, int b, int bEnd, const MapLine& bLine);

// The segments that reach no other, and the separate groups the others form.
struct SegmentGroups {
    int isolated = 0;
    int groups = 0;
    int largest = 0;
};
SegmentGroups GroupsOf(const SegmentMap& map);

} // namespace vantrel::segment

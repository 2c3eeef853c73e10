// The isovist of a point: the part of the plan seen from it, as a polygon, and its measures.
#pragma once

#include "core/vga/wall_set.h"

#include <optional>
#include <span>
#include <vector>

namespace vantrel::vga {

using Measure = std::optional<double>;

struct IsovistMeasures {
    Measure area;
    // The seen parts of the walls and the edges that close the view where walls hide one
    // another or leave it open.
    Measure perimeter;
    // The length of those closing edges.
    Measure occlusivity;
    // The distance to the nearest edge of the polygon, and to its farthest corner.
    Measure minRadial;
    Measure maxRadial;
    // 4 pi area / perimeter^2: 1 for a disc.
    Measure compactness;
    // The vector from the point to the polygon's centroid: its length, and its direction in
    // degrees counter-clockwise from the x axis, 0 up to 360; no direction for a length of 0.
    Measure driftMagnitude;
    Measure driftAngle;
};

// A wall seen end on: from the point its near end, nothing behind it on that ray can be seen.
struct Crack {
    DoublePoint nearEnd;
    DoublePoint farEnd;
};

// Works out isovists one point after another; one per thread. The walls are searched outwards
// from the point, bin by bin, and a wall is left out as soon as walls nearer than all of it
// hide all of it, so that a point sees to the end of a long plan without reading every wall.
class IsovistMaker {
public:
    // `frame` holds every point to be looked from; its edges close the view where no wall does,
    // and it is no wall.
    IsovistMaker(const WallSet& walls, const Extent& frame);

    void look(DoublePoint point);

    // What the point sees up to the walls and the frame, as a polygon around the point in
    // coordinates relative to it, counter-clockwise. Ready after look().
    std::span<const DoublePoint> outline() const { return m_outline; }
    // Walls that the point sees end on, relative to it, each ray up to beyond the frame.
    std::span<const Crack> cracks() const { return m_cracks; }

    // The measures of the isovist polygon, which holds only walls: where no wall closes the view,
    // the walls on either side are joined by a straight edge. Nothing for a point that sees no
    // wall.
    IsovistMeasures measures() const;

private:
    struct Candidate {
        int piece;
        DoublePoint start, end;
        double startAngle, endAngle;
    };
    struct Span {
        double from, to;
    };
    class Cover;

    void gather(DoublePoint point);
    void addCandidate(int piece, DoublePoint point, Cover* cover, double* farthest);
    void sweep();
    DoublePoint hit(const Candidate& candidate, double angle) const;
    double distanceAt(const Candidate& candidate, double angle) const;
    int nearer(int first, int second, double angle) const;

    const WallSet& m_walls;
    std::vector<MapLine> m_frame;
    SegmentBins m_bins;
    double m_reach = 0;
    double m_tolerance = 0;
    std::vector<unsigned> m_seen;
    unsigned m_stamp = 0;

    std::vector<Candidate> m_candidates;
    std::vector<Span> m_spans;
    std::vector<int> m_spanOwner;
    std::vector<double> m_angles;
    std::vector<int> m_tree;
    std::vector<int> m_slotWall;
    std::vector<DoublePoint> m_outline;
    std::vector<Crack> m_cracks;
};

} // namespace vantrel::vga

// The arc list of an integration graph: every connected pair of items with its depth and how
// close the pair is relative to all the others, and what of it is drawn.
#pragma once

#include "core/app/matrix.h"
#include "core/app/project_state.h"
#include "core/display/colour_scale.h"

#include <cstdint>
#include <vector>

namespace vantrel::analysis {

// Every pair i < j of items 0..itemCount-1 with a depth of 1..itemCount, the deepest first, then
// by i, then by j. `first` and `second` are item numbers (1-based), `depth` the depth and
// `closeness` 1 for the shallowest arcs and 0 for the deepest (1 for all when all are equal).
std::vector<GraphArc> buildArcList(const Matrix<std::int16_t>& depth, int itemCount);

// The arcs a full graph draws, in list order: those with a closeness of at most 1.
std::vector<GraphArc> drawnArcs(const std::vector<GraphArc>& arcs);

// The arcs a graph limited to a span draws, in list order: closeness at most 1, depth at most
// the span.
std::vector<GraphArc> arcsWithinSpan(const std::vector<GraphArc>& arcs, int span);

// The colour of an arc: its closeness on the colour scale, 1 red .. 0 blue.
display::Rgb arcColour(const GraphArc& arc);

struct NodePoint {
    float x = 0, y = 0;
    bool operator==(const NodePoint&) const = default;
};

// Where an axial line's node is drawn: the mid-point of the line.
NodePoint lineMidPoint(const AxialLine& line);

} // namespace vantrel::analysis

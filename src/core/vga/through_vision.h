// Through vision: how many sight lines between other points pass through each point.
#pragma once

#include "core/host/progress.h"
#include "core/vga/point_grid.h"
#include "core/vga/visibility_graph.h"

#include <cstdint>
#include <vector>

namespace vantrel::vga {

// For every ordered pair of points that see each other, the line from the first to the second is
// followed over the grid one cell at a time along its longer axis, taking the cell it passes
// through across (both cells where it passes between two); each point strictly between the ends
// gains 1. A line at exactly 45 degrees passes through no cell, as the peer tools count it.
std::vector<std::int64_t> ComputeThroughVision(const PointGrid& grid, const VisibilityGraph& graph,
                                               int threads, Progress* progress);

} // namespace vantrel::vga

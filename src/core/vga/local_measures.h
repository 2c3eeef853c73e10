// The measures of every point that come from the points it sees and what they see.
#pragma once

#include "core/analysis/depth_histograms.h"
#include "core/host/progress.h"
#include "core/vga/isovist.h"
#include "core/vga/point_grid.h"
#include "core/vga/visibility_graph.h"

#include <vector>

namespace vantrel::vga {

// N(x) is the set of points x sees, k its size.
struct LocalMeasures {
    // Sum over N(x) of the distance to x, and of its square.
    std::vector<double> firstMoment;
    std::vector<double> secondMoment;
    // Sum over y in N(x) of |N(y) and N(x)|, over k (k - 1).
    std::vector<Measure> clustering;
    // Sum over y in N(x) of 1 / |N(y)|.
    std::vector<Measure> control;
    // k / the size of the union of N(y) over y in N(x), which holds x itself.
    // All three only for k > 1.
    std::vector<Measure> controllability;
};

// `histograms` gives each point's count at depth 2, the points the union reaches beyond N(x).
LocalMeasures ComputeLocalMeasures(const PointGrid& grid, const VisibilityGraph& graph,
                                   const analysis::DepthHistograms& histograms, int threads,
                                   Progress* progress);

} // namespace vantrel::vga

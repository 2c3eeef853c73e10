// Visual depths: the fewest sight lines between points, counted depth by depth for every point by
// breadth-first searches of 64 sources at once, one bit of a word each.
#pragma once

#include "core/analysis/depth_histograms.h"
#include "core/host/progress.h"
#include "core/vga/visibility_graph.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::vga {

struct VisualDepths {
    // Per point, how many points lie at each visual depth from it (entry d - 1 for depth d).
    analysis::DepthHistograms histograms;
    int largestDepth = 0;
};

struct SearchOptions {
    // Sources are shared among this many threads; the results do not depend on it.
    int threads = 1;
    // One step per batch of 64 sources, from the calling thread.
    Progress* progress = nullptr;
};

VisualDepths ComputeVisualDepths(const VisibilityGraph& graph, const SearchOptions& options = {});

// Per point, its visual depth from the nearest of the origins (0 for an origin), -1 for a point
// that none of them reaches.
std::vector<std::int32_t> VisualStepDepths(const VisibilityGraph& graph,
                                           std::span<const int> origins);

} // namespace vantrel::vga

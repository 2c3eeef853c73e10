// Metric and angular shortest paths through the visibility graph: a path goes from point to point
// along sight lines and may turn at any point. Metric paths are as short as can be; angular paths
// turn as little as can be, the angle of each turn counted in quarter turns (1 = 90 degrees) and
// the first sight line free.
#pragma once

#include "core/host/progress.h"
#include "core/vga/isovist.h"
#include "core/vga/point_grid.h"
#include "core/vga/visibility_graph.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::vga {

// From each point to every point it reaches, the point itself counted in N.
struct PathMeans {
    // Metric: the mean length of the shortest paths, the mean straight-line distance, and the mean
    // of the turns along the shortest paths.
    std::vector<Measure> metricMeanDistance;
    std::vector<Measure> metricMeanStraightDistance;
    std::vector<Measure> metricMeanAngle;
    std::vector<std::int32_t> metricNodeCount;
    // Angular: the mean and the total of the least turns to every point reached.
    std::vector<Measure> angularMeanDepth;
    std::vector<Measure> angularTotalDepth;
    std::vector<std::int32_t> angularNodeCount;
};

struct PathOptions {
    bool metric = false;
    bool angular = false;
    int threads = 1;
    // One step per 16 points, from the calling thread.
    Progress* progress = nullptr;
};

// Searches from every point. Each search keeps, per point, only the best path found: among metric
// paths of one length the one that turns least, and among angular paths the first found of the
// least turn, whose last sight line the path turns from when it goes on.
PathMeans ComputePathMeans(const PointGrid& grid, const VisibilityGraph& graph,
                           const PathOptions& options);

struct StepPaths {
    // Per point, from the nearest origin; nothing for a point no origin reaches.
    std::vector<Measure> metric;
    std::vector<Measure> angular;
};

StepPaths ComputeStepPaths(const PointGrid& grid, const VisibilityGraph& graph,
                           std::span<const int> origins);

} // namespace vantrel::vga

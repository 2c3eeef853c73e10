// Segment analysis: from every segment, the best routes to all others within each radius, and
// the counts, depths and choice they give.
#pragma once

#include "core/analysis/unit_sharing.h"
#include "core/host/progress.h"
#include "core/segment/search_graph.h"
#include "core/segment/segment_map.h"

#include <cstdint>
#include <vector>

namespace vantrel::segment {

// What a radius limits along a route: its length from the origin's midpoint to the segment's
// midpoint, its turns in right angles, or its steps from segment to segment.
enum class RadiusKind { Metric, Angular, Steps };

// A radius of 0 is radius n, no limit.
inline constexpr double kRadiusN = 0;

struct SegmentAnalysisOptions {
    DepthKind depth = DepthKind::Angular;
    int tulipBins = 1024;
    RadiusKind radiusKind = RadiusKind::Metric;
    // Positive radii, or kRadiusN; steps are whole numbers.
    std::vector<double> radii = {kRadiusN};
    bool choice = false;
    // Origins are shared among this many threads; the results do not depend on it.
    int threads = 1;
    // Told one step per origin, from the calling thread.
    Progress* progress = nullptr;
    // Shares the origins with the other processes of a run; every process gets the whole result.
    analysis::UnitSharing* sharing = nullptr;
};

// Per segment, within one radius. Depths are in right angles (angular), map units (metric) or
// line changes (topological); "weighted" sums weigh each segment by its length.
struct RadiusResults {
    double radius = kRadiusN;
    // The segments reached, the origin counted.
    std::vector<std::int32_t> nodeCount;
    // The sum of their depths, and of their depths times their lengths.
    std::vector<double> totalDepth;
    std::vector<double> weightedTotalDepth;
    // The sum of their lengths, the origin's counted.
    std::vector<double> totalLength;
    // With choice: over every origin and destination it reaches, the share of the origin's best
    // routes to the destination that pass through the segment (origin and destination excluded).
    std::vector<double> choice;
    // The same with each pair weighted by the product of the two lengths, the origin and the
    // destination each credited with half of it.
    std::vector<double> weightedChoice;
};

// One RadiusResults per radius, in the order of the options. Throws std::invalid_argument for an
// angular radius of a topological analysis (which does not rank routes by their turns).
std::vector<RadiusResults> AnalyseSegments(const SegmentMap& map,
                                           const SegmentAnalysisOptions& options);

} // namespace vantrel::segment

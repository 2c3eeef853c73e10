// The measures of every point that come from its visual depths, at radius n and at step radii.
#pragma once

#include "core/analysis/depth_histograms.h"
#include "core/analysis/item_measures.h"
#include "core/vga/isovist.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::vga {

// Within a radius of R steps: the points at a visual depth of at most R, the point itself counted
// in the node count only. A measure that does not exist for a point (too few points within
// reach) has no value.
struct VisualColumns {
    analysis::MeasureRadius radius;
    // The radius in steps the values were computed for.
    int steps = 0;
    // NC, the point included.
    std::vector<std::int32_t> nodeCount;
    // MD: the total depth over NC - 1.
    std::vector<Measure> meanDepth;
    // Each only when NC > 2 and MD > 1: RA = 2 (MD - 1) / (NC - 2) over the diamond value
    // (integration [HH]) or the P-value of NC, inverted; Teklenburg's
    // ln((NC - 2) / 2) / ln(TD - NC + 1), which also needs TD - NC + 1 > 1.
    std::vector<Measure> integrationHH;
    std::vector<Measure> integrationPValue;
    std::vector<Measure> integrationTekl;
    // -sum p_d log2 p_d over the depths d >= 1, p_d the share of the other points at depth d.
    std::vector<Measure> entropy;
    // sum p_d log2(p_d / q_d), q_d = MD^d e^-MD / (d + 1)!.
    std::vector<Measure> relativisedEntropy;
};

// Radius n first (the largest depth), then each other radius asked for, in the order asked.
std::vector<VisualColumns> VisualRadiusMeasures(const analysis::DepthHistograms& histograms,
                                                int largestDepth,
                                                std::span<const analysis::MeasureRadius> radii);

} // namespace vantrel::vga

// The measures of every line (or junction) of one analysis, as the batch tool lists them.
#pragma once

#include "core/analysis/depths.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::analysis {

// A radius for the radius values: a number of steps, or radius n, the largest depth of the
// analysis (the radius the desktop's radius-n map shows after an analysis).
struct MeasureRadius {
    static constexpr int kN = 0;
    int steps = kN;
    bool operator==(const MeasureRadius&) const = default;
};

struct RadiusColumn {
    MeasureRadius radius;
    // The radius in steps the values were computed for.
    int steps = 0;
    std::vector<float> values;
};

struct ItemMeasures {
    // Per item: the number of items directly related to it.
    std::vector<std::int32_t> connectivity;
    std::vector<std::int64_t> totalDepth;
    std::vector<std::int32_t> reached;
    // The normalised integration, as the integration export writes it.
    std::vector<float> integration;
    // One column per radius asked for, in the order asked.
    std::vector<RadiusColumn> radii;

    int itemCount() const { return static_cast<int>(totalDepth.size()); }
};

// Integration by NormalisedIntegration and radius values by RadiusValues, the functions the
// desktop's results come from.
ItemMeasures MeasureItems(const DepthResult& depths, std::span<const MeasureRadius> radii);

} // namespace vantrel::analysis

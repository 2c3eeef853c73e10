// What the analyses leave beside the depths: integration values, the radius-3 depths and the
// radius, filled in from the depths of an analysed map as the analyses compute them.
#pragma once

#include "core/analysis/integration.h"
#include "core/app/project_state.h"
#include "support/analysed_maps.h"

#include <cstdint>
#include <vector>

namespace vantrel::testing {

// Normalised 1 / total depth per item.
inline std::vector<float> IntegrationOf(const Matrix<std::int16_t>& depth) {
    std::vector<std::int64_t> totals(depth.rows());
    for (std::size_t i = 0; i < depth.rows(); ++i)
        for (std::size_t j = 0; j < depth.columns(); ++j)
            totals[i] += depth(i, j);
    return analysis::NormalisedIntegration(totals).values;
}

// The depths where they are at most 3, else 0.
inline Matrix<std::int16_t> Radius3DepthsOf(const Matrix<std::int16_t>& depth) {
    Matrix<std::int16_t> within = depth;
    for (std::size_t i = 0; i < depth.rows(); ++i)
        for (std::size_t j = 0; j < depth.columns(); ++j)
            if (depth(i, j) > 3)
                within(i, j) = 0;
    return within;
}

// Both analyses' results for the map SetAnalysedMap filled in; the radius is the largest line
// depth, as the axial analysis leaves it.
inline void SetAnalysisResults(ProjectState& state) {
    state.LineIntegration = IntegrationOf(state.LineDepth);
    state.JunctionIntegration = IntegrationOf(state.JunctionDepth);
    state.LineRadius3Depth = Radius3DepthsOf(state.LineDepth);
    state.JunctionRadius3Depth = Radius3DepthsOf(state.JunctionDepth);
    state.RadiusN = LargestDepth(state.LineDepth);
}

} // namespace vantrel::testing

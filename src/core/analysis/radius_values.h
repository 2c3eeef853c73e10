// Radius values: integration counted only over the items within a topological radius.
#pragma once

#include "core/analysis/depth_histograms.h"
#include "core/app/matrix.h"

#include <cstdint>
#include <vector>

namespace vantrel::analysis {

// Per item: the reciprocal of its mean depth over the other items at depth 1..radius, 0 when it
// has none, then normalised as NormaliseValues does. A radius of 0 or below reaches nothing, so
// every value becomes 1. The two forms give the same values for the same depths.
std::vector<float> RadiusValues(const Matrix<std::int16_t>& depth, int radius);
std::vector<float> RadiusValues(const DepthHistograms& histograms, int radius);

} // namespace vantrel::analysis

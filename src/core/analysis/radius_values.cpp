#include "core/analysis/radius_values.h"

#include "core/analysis/integration.h"

#include <algorithm>
#include <utility>

namespace vantrel::analysis {
namespace {

// The depths are whole numbers, so summing them exactly and rounding once gives the same float
// as a single-precision running sum for every sum below 2^24 (any map of up to 4096 items), and
// the nearer value beyond.
float radiusValue(std::int64_t depthSum, std::int64_t reached) {
    if (depthSum == 0) {
        return 0.0f;
    }
    const float meanDepth = static_cast<float>(depthSum) / static_cast<float>(reached);
    return 1.0f / meanDepth;
}

} // namespace

std::vector<float> RadiusValues(const Matrix<std::int16_t>& depth, int radius) {
    std::vector<float> values(depth.rows());
    for (std::size_t row = 0; row < depth.rows(); ++row) {
        std::int64_t depthSum = 0;
        std::int64_t reached = 0;
        for (std::size_t column = 0; column < depth.columns(); ++column) {
            const int cell = depth(row, column);
            if (column != row && cell > 0 && cell <= radius) {
                depthSum += cell;
                ++reached;
            }
        }
        values[row] = radiusValue(depthSum, reached);
    }
    return NormaliseValues(std::move(values));
}

std::vector<float> RadiusValues(const DepthHistograms& histograms, int radius) {
    std::vector<float> values(histograms.itemCount());
    for (int index = 0; index < histograms.itemCount(); ++index) {
        const auto atDepth = histograms.of(index);
        const int deepest = std::clamp(radius, 0, static_cast<int>(atDepth.size()));
        std::int64_t depthSum = 0;
        std::int64_t reached = 0;
        for (int depth = 1; depth <= deepest; ++depth) {
            depthSum += static_cast<std::int64_t>(depth) * atDepth[depth - 1];
            reached += atDepth[depth - 1];
        }
        values[index] = radiusValue(depthSum, reached);
    }
    return NormaliseValues(std::move(values));
}

} // namespace vantrel::analysis

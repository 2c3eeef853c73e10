#include "core/vga/visual_measures.h"

#include <cmath>

namespace vantrel::vga {

namespace {

// The relative asymmetry of the root of a diamond-shaped graph of n points.
double DiamondValue(double n) {
    return 2.0 * (n * (std::log2((n + 2.0) / 3.0) - 1.0) + 1.0) / ((n - 1.0) * (n - 2.0));
}

// The same yardstick after the P-values of the field's tables.
double PValue(double n) {
    return 2.0 * (n - std::log2(n) - 1.0) / ((n - 1.0) * (n - 2.0));
}

void AddPoint(VisualColumns& columns, std::span<const std::int32_t> atDepth) {
    const int deepest = std::min(columns.steps, static_cast<int>(atDepth.size()));
    std::int64_t others = 0, total = 0;
    for (int depth = 1; depth <= deepest; ++depth) {
        others += atDepth[static_cast<std::size_t>(depth - 1)];
        total += static_cast<std::int64_t>(depth) * atDepth[static_cast<std::size_t>(depth - 1)];
    }
    const double nodes = static_cast<double>(others) + 1.0;
    columns.nodeCount.push_back(static_cast<std::int32_t>(others + 1));
    Measure meanDepth, hh, pValue, tekl, entropy, relativised;
    if (others > 0) {
        const double mean = static_cast<double>(total) / static_cast<double>(others);
        meanDepth = mean;
        double sum = 0.0, relative = 0.0, factorial = 1.0;
        for (int depth = 1; depth <= deepest; ++depth) {
            factorial *= depth + 1;
            const std::int32_t count = atDepth[static_cast<std::size_t>(depth - 1)];
            if (count == 0)
                continue;
            const double share = static_cast<double>(count) / static_cast<double>(others);
            const double expected = std::pow(mean, depth) / factorial * std::exp(-mean);
            sum -= share * std::log2(share);
            relative += share * std::log2(share / expected);
        }
        entropy = sum + 0.0; // no negative zero for a single depth
        relativised = relative;
        if (nodes > 2.0 && mean > 1.0) {
            const double ra = 2.0 * (mean - 1.0) / (nodes - 2.0);
            hh = DiamondValue(nodes) / ra;
            pValue = PValue(nodes) / ra;
            const double excess = static_cast<double>(total) - nodes + 1.0;
            if (excess > 1.0)
                tekl = std::log((nodes - 2.0) / 2.0) / std::log(excess);
        }
    }
    columns.meanDepth.push_back(meanDepth);
    columns.integrationHH.push_back(hh);
    columns.integrationPValue.push_back(pValue);
    columns.integrationTekl.push_back(tekl);
    columns.entropy.push_back(entropy);
    columns.relativisedEntropy.push_back(relativised);
}

} // namespace

std::vector<VisualColumns> VisualRadiusMeasures(const analysis::DepthHistograms& histograms,
                                                int largestDepth,
                                                std::span<const analysis::MeasureRadius> radii) {
    std::vector<VisualColumns> all(1);
    all.front().steps = largestDepth;
    for (const analysis::MeasureRadius radius : radii) {
        if (radius.steps != analysis::MeasureRadius::kN) {
            all.emplace_back().radius = radius;
            all.back().steps = radius.steps;
        }
    }
    for (VisualColumns& columns : all)
        for (int point = 0; point < histograms.itemCount(); ++point)
            AddPoint(columns, histograms.of(point));
    return all;
}

} // namespace vantrel::vga

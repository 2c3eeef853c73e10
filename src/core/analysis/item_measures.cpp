#include "core/analysis/item_measures.h"

#include "core/analysis/integration.h"
#include "core/analysis/radius_values.h"

namespace vantrel::analysis {

ItemMeasures MeasureItems(const DepthResult& depths, std::span<const MeasureRadius> radii) {
    ItemMeasures measures;
    const int count = depths.histograms.itemCount();
    measures.connectivity.reserve(count);
    for (int index = 0; index < count; ++index) {
        const auto atDepth = depths.histograms.of(index);
        measures.connectivity.push_back(atDepth.empty() ? 0 : atDepth.front());
    }
    measures.totalDepth = depths.totalDepth;
    measures.reached = depths.reached;
    measures.integration = NormalisedIntegration(depths.totalDepth).values;
    for (const MeasureRadius radius : radii) {
        const int steps = radius.steps == MeasureRadius::kN ? depths.largestDepth : radius.steps;
        measures.radii.push_back({radius, steps, RadiusValues(depths.histograms, steps)});
    }
    return measures;
}

} // namespace vantrel::analysis

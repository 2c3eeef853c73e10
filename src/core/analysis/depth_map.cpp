#include "core/analysis/depth_map.h"

#include "core/analysis/depth_entry.h"
#include "core/host/number_text.h"

#include <algorithm>
#include <cmath>

namespace vantrel::analysis {

int MaxDepth(const Matrix<std::int16_t>& depth, int itemCount) {
    if (itemCount <= 0)
        return 0;
    int largest = -10000;
    for (int i = 0; i < itemCount; ++i)
        for (int j = 0; j < itemCount; ++j)
            largest = std::max(largest, depthEntry(depth, i, j));
    return largest;
}

float RelativeDepth(int depth, int maxDepth) {
    return static_cast<float>(static_cast<double>(maxDepth - depth) / maxDepth);
}

std::optional<int> ParseDepthOrigin(std::string_view text, int itemCount) {
    const double typed = ParseNumber(text);
    // Checked before rounding so that no typed size can overflow the conversion.
    if (!(typed > 0.0 && typed < itemCount + 1.0))
        return std::nullopt;
    const auto number = RoundHalfEven(typed);
    if (number < 1 || number > itemCount)
        return std::nullopt;
    return static_cast<int>(number);
}

DepthMapPlan depthMapPlan(const Matrix<std::int16_t>& depth, int itemCount, int originIndex) {
    DepthMapPlan plan;
    plan.maxDepth = MaxDepth(depth, itemCount);
    if (plan.maxDepth <= 0 || originIndex < 0 || originIndex >= itemCount)
        return plan;

    plan.items.reserve(static_cast<std::size_t>(itemCount));
    for (int j = 0; j < itemCount; ++j) {
        DepthMapItem item;
        item.index = j;
        item.relativeDepth = RelativeDepth(depthEntry(depth, originIndex, j), plan.maxDepth);
        item.step = display::stepOf(item.relativeDepth);
        item.colour = display::colourForStep(item.step);
        item.discRadius =
            static_cast<float>(std::sqrt(static_cast<double>(item.relativeDepth) * 50000 + 10000));
        plan.items.push_back(item);
    }
    // Smallest relative depth first; equal ones keep their ascending index.
    std::stable_sort(plan.items.begin(), plan.items.end(),
                     [](const DepthMapItem& a, const DepthMapItem& b) {
                         return a.relativeDepth < b.relativeDepth;
                     });
    return plan;
}

} // namespace vantrel::analysis

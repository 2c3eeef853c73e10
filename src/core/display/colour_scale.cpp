#include "core/display/colour_scale.h"

#include "core/host/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace vantrel::display {

Rgb colourScaleEntry(int entry) {
    return kColourScale[static_cast<std::size_t>(std::clamp(entry, 1, kColourScaleEntries) - 1)];
}

Rgb depthStep(int row) {
    return colourScaleEntry(row + 1);
}

Rgb colourForStep(int step) {
    return colourScaleEntry(kColourScaleEntries + 1 - step);
}

int stepOf(double value) {
    const double scaled = 12.0 * value + 1.0;
    if (!(scaled >= 1.0))
        return 1;
    if (scaled >= kColourScaleEntries)
        return kColourScaleEntries;
    return static_cast<int>(RoundHalfEven(scaled));
}

Rgb ColourOf(double value) {
    return colourForStep(stepOf(value));
}

std::vector<int> DrawingOrder(const std::vector<float>& values) {
    // The selection this order stems from never picks a value at or below its -1000 sentinel;
    // such values are taken as the lowest of all rather than as a broken pick.
    constexpr float kSentinel = -1000.0f;
    const auto key = [&values](int index) {
        const float value = values[static_cast<std::size_t>(index)];
        return value > kSentinel ? value : -std::numeric_limits<float>::infinity();
    };
    std::vector<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&key](int a, int b) {
        const float keyA = key(a);
        const float keyB = key(b);
        return keyA != keyB ? keyA < keyB : a > b;
    });
    return order;
}

} // namespace vantrel::display

// What a depth map draws from one origin: the order of the items and the colour and disc size
// of each, from the depth matrix of the last analysis.
#pragma once

#include "core/app/matrix.h"
#include "core/display/colour_scale.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vantrel::analysis {

// The largest depth between items 0..itemCount-1; 0 when there is no item. A result of 0 means
// no pair is connected (or no analysis has run): there is no depth map to draw.
int MaxDepth(const Matrix<std::int16_t>& depth, int itemCount);

// (maxDepth - depth) / maxDepth: 1 at the origin and for unconnected items, 0 for the deepest.
// maxDepth must be above 0.
float RelativeDepth(int depth, int maxDepth);

// The origin typed by the user as an item number 1..itemCount, rounded halves to even
// ("3.5" -> 4, "2.5" -> 2); nothing for empty, non-numeric or out-of-range input.
std::optional<int> ParseDepthOrigin(std::string_view text, int itemCount);

struct DepthMapItem {
    int index = 0;           // 0-based item
    float relativeDepth = 0; // from the origin
    int step = 0;            // 1 (deepest, blue) .. 13 (origin, red)
    display::Rgb colour;     // the depth step colour of `step`
    float discRadius = 0;    // junction disc: sqrt(relativeDepth * 50000 + 10000), 100..~245
    bool operator==(const DepthMapItem&) const = default;
};

struct DepthMapPlan {
    int maxDepth = 0;
    // In drawing order: the deepest first, the origin and unconnected items last, ties by
    // ascending index. Empty when maxDepth is 0 or the origin is not an item.
    std::vector<DepthMapItem> items;
};

// The depth map of items 0..itemCount-1 seen from originIndex (0-based).
DepthMapPlan depthMapPlan(const Matrix<std::int16_t>& depth, int itemCount, int originIndex);

} // namespace vantrel::analysis

// The space syntax colours, red (high) through yellow, green and cyan to blue (low), and the
// order in which coloured items are drawn.
#pragma once

#include <array>
#include <vector>

namespace vantrel::display {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr int kColourScaleEntries = 13;

// Entry 1 (red) at index 0 through entry 13 (blue) at index 12. Read by row from 0, it is also
// the table of depth steps.
inline constexpr std::array<Rgb, kColourScaleEntries> kColourScale{{
    {255, 0, 0},
    {255, 85, 0},
    {255, 170, 0},
    {255, 255, 0},
    {170, 255, 0},
    {85, 255, 0},
    {0, 255, 0},
    {0, 255, 85},
    {0, 255, 170},
    {0, 255, 255},
    {0, 170, 255},
    {0, 85, 255},
    {0, 0, 255},
}};

// Entry 1..13 of the scale; entries outside are clamped to the nearer end.
Rgb colourScaleEntry(int entry);

// Row 0 (red) .. 12 (blue) of the depth steps; rows outside are clamped to the nearer end.
Rgb depthStep(int row);

// The colour of step 1 (blue) .. 13 (red), as depth maps and colour maps count them: entry
// 14 - step. Steps outside are clamped, so a value beyond 0..1 takes the nearer end colour.
Rgb colourForStep(int step);

// The step of a value of 0..1: 12 * value + 1 in double precision, halves rounded to even,
// clamped to 1..13 (a NaN counts as the lowest).
int stepOf(double value);

// The colour of a value of 0..1: 1 red, 0.5 green, 0 blue. Values outside take the end colours.
Rgb ColourOf(double value);

// Indices (0-based) in drawing order: the lowest value first and the highest last, so that high
// values lie on top; among equal values the higher index comes first, so the lower-numbered item
// lies on top. Values must be above -1000; any at or below it (and NaNs) are drawn first.
std::vector<int> DrawingOrder(const std::vector<float>& values);

} // namespace vantrel::display

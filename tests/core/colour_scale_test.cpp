#include "core/display/colour_scale.h"

#include <gtest/gtest.h>

#include <random>

namespace vantrel::display {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

TEST(ColourScale, RunsFromRedThroughYellowGreenAndCyanToBlue) {
    EXPECT_EQ(colourScaleEntry(1), kRed);
    EXPECT_EQ(colourScaleEntry(4), (Rgb{255, 255, 0}));
    EXPECT_EQ(colourScaleEntry(7), kGreen);
    EXPECT_EQ(colourScaleEntry(10), (Rgb{0, 255, 255}));
    EXPECT_EQ(colourScaleEntry(13), kBlue);
}

TEST(ColourScale, DepthStepsAreTheSameColoursCountedFromRowZero) {
    EXPECT_EQ(depthStep(0), kRed);
    EXPECT_EQ(depthStep(12), kBlue);
    EXPECT_EQ(colourForStep(13), kRed);
    EXPECT_EQ(colourForStep(7), kGreen);
    EXPECT_EQ(colourForStep(1), kBlue);
}

TEST(ColourOf, OneIsRedZeroIsBlueAndAHalfIsGreen) {
    EXPECT_EQ(ColourOf(1.0), kRed);
    EXPECT_EQ(ColourOf(0.0), kBlue);
    EXPECT_EQ(ColourOf(0.5), kGreen);
}

TEST(ColourOf, HalfStepsRoundToTheEvenStep) {
    // 12 * 0.125 + 1 = 2.5 -> 2, entry 12; 12 * 0.375 + 1 = 5.5 -> 6, entry 8.
    EXPECT_EQ(ColourOf(0.125), (Rgb{0, 85, 255}));
    EXPECT_EQ(ColourOf(0.375), (Rgb{0, 255, 85}));
}

TEST(ColourOf, ValuesBeyondTheScaleTakeTheNearerEndColour) {
    EXPECT_EQ(ColourOf(1.5), kRed);
    EXPECT_EQ(ColourOf(1e30), kRed);
    EXPECT_EQ(ColourOf(-0.2), kBlue);
    EXPECT_EQ(ColourOf(-1e30), kBlue);
    EXPECT_EQ(ColourOf(std::nan("")), kBlue);
    EXPECT_EQ(colourForStep(0), kBlue);
    EXPECT_EQ(colourForStep(40), kRed);
}

// The selection the drawing order is defined by, written out as it reads.
std::vector<int> selectThenReverse(const std::vector<float>& values) {
    const int count = static_cast<int>(values.size());
    std::vector<float> scratch = values;
    std::vector<int> order(values.size());
    for (int i = 0; i < count; ++i) {
        float best = -1000;
        for (int j = 0; j < count; ++j) {
            if (scratch[j] > best) {
                best = scratch[j];
                order[i] = j;
            }
        }
        scratch[order[i]] = -2000;
    }
    return {order.rbegin(), order.rend()};
}

TEST(DrawingOrder, LowestValueIsDrawnFirstAndHighestLast) {
    EXPECT_EQ(DrawingOrder({0.5f, 1.0f, 0.0f}), (std::vector<int>{2, 0, 1}));
    EXPECT_TRUE(DrawingOrder({}).empty());
}

TEST(DrawingOrder, OfTwoEqualValuesTheLowerNumberedLiesOnTop) {
    EXPECT_EQ(DrawingOrder({0.5f, 0.5f}), (std::vector<int>{1, 0}));
    EXPECT_EQ(DrawingOrder({1.0f, 0.2f, 1.0f, 0.2f}), (std::vector<int>{3, 1, 2, 0}));
}

TEST(DrawingOrder, MatchesTheSelectionOnValuesWithManyTies) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> size(0, 60);
    std::uniform_int_distribution<int> level(0, 4);
    for (int trial = 0; trial < 500; ++trial) {
        std::vector<float> values(static_cast<std::size_t>(size(random)));
        for (float& value : values)
            value = static_cast<float>(level(random)) / 4 - (trial % 3 == 0 ? 900.0f : 0.0f);
        EXPECT_EQ(DrawingOrder(values), selectThenReverse(values)) << "trial " << trial;
    }
}

TEST(DrawingOrder, ValuesBelowTheSentinelAreDrawnFirstInsteadOfBreakingTheOrder) {
    EXPECT_EQ(DrawingOrder({0.5f, -5000.0f, std::nanf(""), 0.0f}), (std::vector<int>{2, 1, 3, 0}));
}

} // namespace
} // namespace vantrel::display

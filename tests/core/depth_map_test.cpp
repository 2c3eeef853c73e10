#include "core/analysis/depth_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace vantrel::analysis {
namespace {

using display::Rgb;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

// A symmetric depth matrix from the depths of the pairs i < j, listed row by row.
Matrix<std::int16_t> depthsOf(int count, std::initializer_list<int> upperTriangle) {
    Matrix<std::int16_t> depth(count, count);
    auto next = upperTriangle.begin();
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j, ++next)
            depth(i, j) = depth(j, i) = static_cast<std::int16_t>(*next);
    return depth;
}

std::vector<int> indicesOf(const DepthMapPlan& plan) {
    std::vector<int> indices;
    for (const DepthMapItem& item : plan.items)
        indices.push_back(item.index);
    return indices;
}

const DepthMapItem& itemOf(const DepthMapPlan& plan, int index) {
    for (const DepthMapItem& item : plan.items)
        if (item.index == index)
            return item;
    throw std::out_of_range("item not in the plan");
}

TEST(MaxDepth, IsTheLargestDepthOfTheWholeGraph) {
    EXPECT_EQ(MaxDepth(depthsOf(4, {1, 2, 3, 1, 2, 1}), 4), 3);
    EXPECT_EQ(MaxDepth(depthsOf(3, {0, 0, 0}), 3), 0);
    EXPECT_EQ(MaxDepth(Matrix<std::int16_t>(), 0), 0);
}

TEST(LineDepthMap, ChainOfThreeFromTheFirstLineRunsBlueGreenRed) {
    const DepthMapPlan plan = depthMapPlan(depthsOf(3, {1, 2, 1}), 3, 0);
    EXPECT_EQ(plan.maxDepth, 2);
    EXPECT_EQ(indicesOf(plan), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(plan.items[0].colour, kBlue);
    EXPECT_EQ(plan.items[1].step, 7);
    EXPECT_EQ(plan.items[1].colour, kGreen);
    EXPECT_EQ(plan.items[2].colour, kRed);
}

TEST(LineDepthMap, UnconnectedItemsAreRedAndDrawnLastWithTheOrigin) {
    // A chain 0-1-2 and a separate pair 3-4, seen from item 0.
    const DepthMapPlan plan = depthMapPlan(depthsOf(5, {1, 2, 0, 0, 1, 0, 0, 0, 0, 1}), 5, 0);
    EXPECT_EQ(indicesOf(plan), (std::vector<int>{2, 1, 0, 3, 4}));
    EXPECT_EQ(itemOf(plan, 3).colour, kRed);
    EXPECT_EQ(itemOf(plan, 4).colour, kRed);
    EXPECT_EQ(itemOf(plan, 3).relativeDepth, 1.0f);
}

TEST(LineDepthMap, AnOriginShallowerThanTheGraphShowsNoBlue) {
    // A chain of four (largest depth 3) seen from its second item.
    const DepthMapPlan plan = depthMapPlan(depthsOf(4, {1, 2, 3, 1, 2, 1}), 4, 1);
    EXPECT_EQ(indicesOf(plan), (std::vector<int>{3, 0, 2, 1}));
    EXPECT_EQ(itemOf(plan, 3).colour, (Rgb{0, 255, 170}));
    EXPECT_EQ(itemOf(plan, 0).colour, (Rgb{170, 255, 0}));
    for (const DepthMapItem& item : plan.items)
        EXPECT_NE(item.colour, kBlue);
}

TEST(JunctionDepthMap, DiscsRunFrom100ForTheDeepestToAbout245AtTheOrigin) {
    const DepthMapPlan plan = depthMapPlan(depthsOf(3, {1, 2, 1}), 3, 0);
    EXPECT_EQ(itemOf(plan, 2).discRadius, 100.0f);
    EXPECT_EQ(itemOf(plan, 0).discRadius, static_cast<float>(std::sqrt(60000.0)));
    EXPECT_EQ(itemOf(plan, 1).discRadius, static_cast<float>(std::sqrt(35000.0)));
}

TEST(DepthMap, WithNoConnectedPairThereIsNothingToDraw) {
    EXPECT_TRUE(depthMapPlan(depthsOf(3, {0, 0, 0}), 3, 0).items.empty());
    EXPECT_EQ(depthMapPlan(depthsOf(3, {0, 0, 0}), 3, 0).maxDepth, 0);
    EXPECT_TRUE(depthMapPlan(Matrix<std::int16_t>(), 0, 0).items.empty());
}

TEST(DepthMap, ItemsAddedSinceTheAnalysisCountAsUnconnected) {
    const DepthMapPlan plan = depthMapPlan(depthsOf(3, {1, 2, 1}), 4, 0);
    EXPECT_EQ(indicesOf(plan), (std::vector<int>{2, 1, 0, 3}));
    EXPECT_EQ(itemOf(plan, 3).colour, kRed);
}

// The selection the drawing order is defined by, written out as it reads.
std::vector<int> selectSmallestFirst(const Matrix<std::int16_t>& depth, int count, int origin) {
    const int maxDepth = MaxDepth(depth, count);
    std::vector<float> v(count);
    for (int j = 0; j < count; ++j)
        v[j] = RelativeDepth(depth(origin, j), maxDepth);
    std::vector<int> order(count);
    for (int r = 0; r < count; ++r) {
        float smallest = 10000;
        for (int j = 0; j < count; ++j) {
            if (v[j] < smallest) {
                smallest = v[j];
                order[r] = j;
            }
        }
        v[order[r]] = 20000;
    }
    return order;
}

TEST(DepthMap, DrawingOrderMatchesTheSelectionOnRandomDepths) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> depthValue(0, 5);
    for (int trial = 0; trial < 200; ++trial) {
        const int count = 2 + trial % 30;
        Matrix<std::int16_t> depth(count, count);
        for (int i = 0; i < count; ++i)
            for (int j = i + 1; j < count; ++j)
                depth(i, j) = depth(j, i) = static_cast<std::int16_t>(depthValue(random));
        if (MaxDepth(depth, count) == 0)
            continue;
        const int origin = trial % count;
        EXPECT_EQ(indicesOf(depthMapPlan(depth, count, origin)),
                  selectSmallestFirst(depth, count, origin))
            << "trial " << trial;
    }
}

TEST(ParseDepthOrigin, RoundsHalvesToEven) {
    EXPECT_EQ(ParseDepthOrigin("3.5", 5), 4);
    EXPECT_EQ(ParseDepthOrigin("2.5", 5), 2);
    EXPECT_EQ(ParseDepthOrigin("1.5", 5), 2);
    EXPECT_EQ(ParseDepthOrigin(" 2 lines", 5), 2);
}

TEST(ParseDepthOrigin, RefusesWhatIsNotAnItemNumber) {
    EXPECT_EQ(ParseDepthOrigin("", 5), std::nullopt);
    EXPECT_EQ(ParseDepthOrigin("abc", 5), std::nullopt);
    EXPECT_EQ(ParseDepthOrigin("0", 5), std::nullopt);
    EXPECT_EQ(ParseDepthOrigin("0.5", 5), std::nullopt);
    EXPECT_EQ(ParseDepthOrigin("-1", 5), std::nullopt);
    EXPECT_EQ(ParseDepthOrigin("6", 5), std::nullopt);
    EXPECT_EQ(ParseDepthOrigin("5.5", 5), std::nullopt);
    EXPECT_EQ(ParseDepthOrigin("99999999999999999999999", 5), std::nullopt);
    EXPECT_EQ(ParseDepthOrigin("1", 0), std::nullopt);
    EXPECT_EQ(ParseDepthOrigin("5", 5), 5);
}

} // namespace
} // namespace vantrel::analysis

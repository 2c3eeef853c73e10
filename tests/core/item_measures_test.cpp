#include "core/analysis/item_measures.h"

#include "core/analysis/radius_values.h"
#include "support/map_generators.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel::analysis {
namespace {

using maps::JunctionOf;

const MeasureRadius kRadiusN{};

ItemMeasures LineMeasures(int lineCount, const std::vector<Junction>& junctions,
                          const std::vector<MeasureRadius>& radii = {}) {
    return MeasureItems(ComputeLineDepths(MapGraph(lineCount, junctions)), radii);
}

// Lines 1-2-3 in a row: 1 crosses 2, 2 crosses 3.
const std::vector<Junction> kChain = {JunctionOf(1, 2), JunctionOf(2, 3)};

TEST(LineMeasures, AChainOfThreeHasTheDesktopsDepthsAndIntegration) {
    const ItemMeasures measures = LineMeasures(3, kChain);
    EXPECT_EQ(measures.connectivity, (std::vector<std::int32_t>{1, 2, 1}));
    EXPECT_EQ(measures.totalDepth, (std::vector<std::int64_t>{3, 2, 3}));
    EXPECT_EQ(measures.reached, (std::vector<std::int32_t>{2, 2, 2}));
    EXPECT_EQ(measures.integration, (std::vector<float>{0, 1, 0}));
}

TEST(LineMeasures, ConnectivityCountsEachCrossingLineOnce) {
    // Lines 1 and 2 meet twice; line 1 also crosses 3.
    const ItemMeasures measures =
        LineMeasures(3, {JunctionOf(1, 2), JunctionOf(1, 2), JunctionOf(1, 3)});
    EXPECT_EQ(measures.connectivity, (std::vector<std::int32_t>{2, 1, 1}));
}

TEST(LineMeasures, AnIsolatedLineReachesNothingAndGetsZero) {
    const ItemMeasures measures = LineMeasures(3, {JunctionOf(1, 2)}, {kRadiusN, {3}});
    EXPECT_EQ(measures.connectivity, (std::vector<std::int32_t>{1, 1, 0}));
    EXPECT_EQ(measures.totalDepth, (std::vector<std::int64_t>{1, 1, 0}));
    EXPECT_EQ(measures.reached, (std::vector<std::int32_t>{1, 1, 0}));
    EXPECT_EQ(measures.integration, (std::vector<float>{1, 1, 0}));
    EXPECT_EQ(measures.radii[0].values, (std::vector<float>{1, 1, 0}));
    EXPECT_EQ(measures.radii[1].values, (std::vector<float>{1, 1, 0}));
}

TEST(RadiusColumns, ComeInTheOrderAskedWithRadiusNAsTheLargestDepth) {
    const ItemMeasures measures = LineMeasures(3, kChain, {{5}, kRadiusN, {1}});
    ASSERT_EQ(measures.radii.size(), 3u);
    EXPECT_EQ(measures.radii[0].radius, MeasureRadius{5});
    EXPECT_EQ(measures.radii[0].steps, 5);
    EXPECT_EQ(measures.radii[1].radius, kRadiusN);
    EXPECT_EQ(measures.radii[1].steps, 2);
    EXPECT_EQ(measures.radii[2].steps, 1);
    // Mean depths 1.5, 1, 1.5 within 2 or more steps; 1 for all within one step.
    EXPECT_EQ(measures.radii[0].values, (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(measures.radii[1].values, (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(measures.radii[2].values, (std::vector<float>{1, 1, 1}));
}

TEST(RadiusColumns, AreTheValuesOfTheDesktopsRadiusMaps) {
    std::mt19937 random(7);
    const maps::MapData map = maps::StreetGrid(random, 12, 12);
    const MapGraph graph(map.lineCount, map.junctions);
    const DepthResult full = ComputeLineDepths(graph, {.fullMatrix = true});
    const std::vector<MeasureRadius> radii = {{3}, kRadiusN};
    const ItemMeasures measures = MeasureItems(full, radii);
    EXPECT_EQ(measures.radii[0].values, RadiusValues(full.radius3Depth, 3));
    EXPECT_EQ(measures.radii[1].values, RadiusValues(full.depth, full.largestDepth));
}

TEST(JunctionMeasures, JunctionsOnOneLineAreDirectlyRelated) {
    // Line 1 crossed by lines 2, 3 and 4: three junctions, all on line 1.
    const ItemMeasures measures = MeasureItems(
        ComputeJunctionDepths(MapGraph(4, {JunctionOf(1, 2), JunctionOf(1, 3), JunctionOf(1, 4)})),
        std::vector<MeasureRadius>{kRadiusN});
    EXPECT_EQ(measures.connectivity, (std::vector<std::int32_t>{2, 2, 2}));
    EXPECT_EQ(measures.totalDepth, (std::vector<std::int64_t>{2, 2, 2}));
    EXPECT_EQ(measures.integration, (std::vector<float>{1, 1, 1}));
    EXPECT_EQ(measures.radii[0].steps, 1);
}

} // namespace
} // namespace vantrel::analysis

#include "core/analysis/depths.h"
#include "core/analysis/integration.h"
#include "core/analysis/radius_values.h"

#include "support/map_generators.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

namespace vantrel::analysis {
namespace {

using maps::JunctionOf;
using maps::MapData;
using ::testing::Each;
using ::testing::ElementsAre;

DepthResult lineDepths(const MapData& map) {
    return ComputeLineDepths(MapGraph(map.lineCount, map.junctions), {.fullMatrix = true});
}

// The radius value as the original computes it from a matrix: a single-precision running sum.
std::vector<float> runningSumRadiusValues(const Matrix<std::int16_t>& depth, int radius) {
    std::vector<float> values(depth.rows());
    for (std::size_t i = 0; i < depth.rows(); ++i) {
        float sum = 0;
        int count = 0;
        for (std::size_t j = 0; j < depth.columns(); ++j) {
            const int cell = j != i && depth(i, j) <= radius ? depth(i, j) : 0;
            sum = sum + static_cast<float>(cell);
            count += cell > 0 ? 1 : 0;
        }
        values[i] = sum == 0 ? 0.0f : 1.0f / (sum / static_cast<float>(count));
    }
    return NormaliseValues(values);
}

const MapData kChainOfFive{
    5, {JunctionOf(1, 2), JunctionOf(2, 3), JunctionOf(3, 4), JunctionOf(4, 5)}};

TEST(RadiusValues, ItemsThatAllReachEachOtherInOneStepAreAllOne) {
    const auto depths = lineDepths({3, {JunctionOf(1, 2), JunctionOf(1, 3), JunctionOf(2, 3)}});
    EXPECT_THAT(RadiusValues(depths.depth, 2), Each(1.0f));
    EXPECT_THAT(RadiusValues(depths.histograms, 2), Each(1.0f));
}

TEST(RadiusValues, AnIsolatedItemIsLowest) {
    const auto depths = lineDepths({4, {JunctionOf(1, 2), JunctionOf(2, 3)}});
    const float endValue = 1.0f / (3.0f / 2.0f);
    EXPECT_THAT(RadiusValues(depths.depth, 3), ElementsAre(endValue, 1.0f, endValue, 0.0f));
}

TEST(RadiusValues, AtRadiusOneEveryItemWithANeighbourIsOne) {
    const auto depths = lineDepths({5, {JunctionOf(1, 2), JunctionOf(2, 3), JunctionOf(3, 4)}});
    EXPECT_THAT(RadiusValues(depths.histograms, 1), ElementsAre(1.0f, 1.0f, 1.0f, 1.0f, 0.0f));
}

TEST(RadiusValues, ARadiusOfZeroOrBelowMakesEveryItemOne) {
    const auto depths = lineDepths(kChainOfFive);
    for (int radius : {0, -3}) {
        EXPECT_THAT(RadiusValues(depths.depth, radius), Each(1.0f));
        EXPECT_THAT(RadiusValues(depths.histograms, radius), Each(1.0f));
    }
}

TEST(RadiusValues, BeyondTheLargestDepthEqualTheIntegrationOfAConnectedMap) {
    const auto depths = lineDepths(kChainOfFive);
    const auto integration = NormalisedIntegration(depths.totalDepth).values;
    EXPECT_EQ(RadiusValues(depths.depth, depths.largestDepth), integration);
    EXPECT_EQ(RadiusValues(depths.histograms, 100), integration);
}

TEST(RadiusValues, OfRadiusThreeComeAlikeFromTheRadius3TableAndTheFullOne) {
    const auto depths = lineDepths(kChainOfFive);
    EXPECT_EQ(RadiusValues(depths.radius3Depth, 3), RadiusValues(depths.depth, 3));
    // Mean depths within 3 of the chain's lines: 2, 7/4, 3/2, 7/4, 2.
    const std::vector<float> raw{1.0f / 2.0f, 1.0f / (7.0f / 4.0f), 1.0f / (6.0f / 4.0f),
                                 1.0f / (7.0f / 4.0f), 1.0f / 2.0f};
    EXPECT_EQ(RadiusValues(depths.radius3Depth, 3), NormaliseValues(raw));
}

TEST(RadiusValues, FromCountsEqualTheOriginalSumsOverTheMatrixOnRandomMaps) {
    std::mt19937 random(17);
    for (int trial = 0; trial < 200; ++trial) {
        const auto map = maps::RandomMap(random, 60);
        const MapGraph graph(map.lineCount, map.junctions);
        for (const auto& depths : {ComputeLineDepths(graph, {.fullMatrix = true}),
                                   ComputeJunctionDepths(graph, {.fullMatrix = true})}) {
            for (int radius = -1; radius <= depths.largestDepth + 1; ++radius) {
                const auto expected = runningSumRadiusValues(depths.depth, radius);
                ASSERT_EQ(RadiusValues(depths.depth, radius), expected) << trial;
                ASSERT_EQ(RadiusValues(depths.histograms, radius), expected) << trial;
                if (radius == 3) {
                    ASSERT_EQ(RadiusValues(depths.radius3Depth, 3), expected) << trial;
                }
            }
        }
    }
}

} // namespace
} // namespace vantrel::analysis

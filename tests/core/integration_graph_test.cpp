#include "core/analysis/integration_graph.h"

#include <gtest/gtest.h>

#include <random>

namespace vantrel::analysis {
namespace {

using display::Rgb;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

Matrix<std::int16_t> chain(int count) {
    Matrix<std::int16_t> depth(count, count);
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < count; ++j)
            depth(i, j) = static_cast<std::int16_t>(std::abs(i - j));
    return depth;
}

TEST(ArcList, TwoCrossingLinesGiveOneRedArc) {
    const std::vector<GraphArc> arcs = buildArcList(chain(2), 2);
    ASSERT_EQ(arcs, (std::vector<GraphArc>{{1, 2, 1, 1}}));
    EXPECT_EQ(arcColour(arcs[0]), kRed);
}

TEST(ArcList, ChainOfThreeListsTheDeepBlueArcFirstAndTheRedArcsAfter) {
    const std::vector<GraphArc> arcs = buildArcList(chain(3), 3);
    EXPECT_EQ(arcs, (std::vector<GraphArc>{{1, 3, 0, 2}, {1, 2, 1, 1}, {2, 3, 1, 1}}));
    EXPECT_EQ(arcColour(arcs[0]), kBlue);
    EXPECT_EQ(arcColour(arcs[1]), kRed);
}

TEST(ArcList, ClosenessRunsEvenlyBetweenTheShallowestAndTheDeepest) {
    const std::vector<GraphArc> arcs = buildArcList(chain(5), 5);
    ASSERT_EQ(arcs.size(), 10u);
    EXPECT_EQ(arcs[0], (GraphArc{1, 5, 0, 4}));
    EXPECT_EQ(arcs[1].closeness, 1.0f / 3);
    EXPECT_EQ(arcs[3].closeness, 2.0f / 3);
    EXPECT_EQ(arcs.back(), (GraphArc{4, 5, 1, 1}));
}

TEST(ArcList, UnconnectedPairsAndMissingItemsGiveNoArcs) {
    Matrix<std::int16_t> depth(3, 3);
    depth(0, 1) = depth(1, 0) = 1;
    EXPECT_EQ(buildArcList(depth, 4), (std::vector<GraphArc>{{1, 2, 1, 1}}));
    EXPECT_TRUE(buildArcList(Matrix<std::int16_t>(), 0).empty());
}

// The per-depth passes the arc list is defined by, written out as they read.
std::vector<GraphArc> passPerDepth(const Matrix<std::int16_t>& depth, int n) {
    std::vector<GraphArc> arcs;
    for (int d = n; d >= 1; --d)
        for (int i = 0; i < n; ++i)
            for (int j = i; j < n; ++j)
                if (j != i && depth(i, j) == d)
                    arcs.push_back({float(i + 1), float(j + 1), float(d), float(d)});
    float highest = -1000;
    float lowest = 1000;
    for (const GraphArc& arc : arcs) {
        if (arc.closeness != 0 && arc.closeness > highest)
            highest = arc.closeness;
        if (arc.closeness != 0 && arc.closeness < lowest)
            lowest = arc.closeness;
    }
    for (GraphArc& arc : arcs)
        if (arc.closeness > 0)
            arc.closeness = highest == lowest ? 1 : (highest - arc.closeness) / (highest - lowest);
    return arcs;
}

TEST(ArcList, MatchesThePassPerDepthOnRandomDepths) {
    std::mt19937 random(3);
    for (int trial = 0; trial < 100; ++trial) {
        const int count = 1 + trial % 25;
        std::uniform_int_distribution<int> depthValue(0, trial % 2 ? 3 : count + 2);
        Matrix<std::int16_t> depth(count, count);
        for (int i = 0; i < count; ++i)
            for (int j = i + 1; j < count; ++j)
                depth(i, j) = depth(j, i) = static_cast<std::int16_t>(depthValue(random));
        EXPECT_EQ(buildArcList(depth, count), passPerDepth(depth, count)) << "trial " << trial;
    }
}

TEST(GraphSpan, ASpanOfOneShowsOnlyTheArcsOfDepthOne) {
    const std::vector<GraphArc> arcs = buildArcList(chain(4), 4);
    const std::vector<GraphArc> shown = arcsWithinSpan(arcs, 1);
    ASSERT_EQ(shown.size(), 3u);
    for (const GraphArc& arc : shown)
        EXPECT_EQ(arcColour(arc), kRed);
    EXPECT_EQ(arcsWithinSpan(arcs, 3), arcs);
    EXPECT_TRUE(arcsWithinSpan(arcs, 0).empty());
}

TEST(GraphSpan, ArcsBeyondTheScaleAreNeverDrawn) {
    const std::vector<GraphArc> arcs{{1, 2, 1.5f, 1}, {1, 3, 1, 1}, {2, 3, 0, 2}};
    EXPECT_EQ(drawnArcs(arcs), (std::vector<GraphArc>{{1, 3, 1, 1}, {2, 3, 0, 2}}));
    EXPECT_EQ(arcsWithinSpan(arcs, 1), (std::vector<GraphArc>{{1, 3, 1, 1}}));
}

} // namespace
} // namespace vantrel::analysis

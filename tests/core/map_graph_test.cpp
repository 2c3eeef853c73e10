#include "core/analysis/adjacency.h"
#include "core/analysis/map_graph.h"

#include "support/map_generators.h"
#include "support/matrix_iteration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

namespace vantrel::analysis {
namespace {

using maps::JunctionOf;
using ::testing::ElementsAre;

TEST(MapGraph, ListsTheJunctionsOfEveryLineWithTheLineAcross) {
    const MapGraph graph(3, {JunctionOf(1, 2), JunctionOf(1, 3), JunctionOf(2, 3)});
    EXPECT_THAT(graph.junctionsOn(0), ElementsAre(0, 1));
    EXPECT_THAT(graph.linesAcross(0), ElementsAre(1, 2));
    EXPECT_THAT(graph.junctionsOn(2), ElementsAre(1, 2));
    EXPECT_THAT(graph.linesAcross(2), ElementsAre(0, 1));
    EXPECT_THAT(graph.linesOf(2), ElementsAre(1, 2));
}

TEST(MapGraph, RoundsStoredLineNumbersToTheNearestWholeNumber) {
    const MapGraph graph(3, std::vector<Junction>{{2.6f, 0.9f, 0, 0}});
    EXPECT_THAT(graph.linesOf(0), ElementsAre(0, 2));
}

TEST(MapGraph, NumbersThatNameNoLineAreLeftOut) {
    const MapGraph graph(2, {JunctionOf(0, 1), JunctionOf(2, 3), JunctionOf(-4, 9)});
    EXPECT_THAT(graph.linesOf(0), ElementsAre(0));
    EXPECT_THAT(graph.linesOf(1), ElementsAre(1));
    EXPECT_TRUE(graph.linesOf(2).empty());
    EXPECT_THAT(graph.linesAcross(0), ElementsAre(-1));
}

TEST(MapGraph, AJunctionWithEqualNumbersLiesOnOneLine) {
    const MapGraph graph(2, {JunctionOf(2, 2)});
    EXPECT_THAT(graph.linesOf(0), ElementsAre(1));
    EXPECT_THAT(graph.junctionsOn(1), ElementsAre(0));
}

TEST(AdjacencyMatrices, MarkTheDiagonalOfEveryItemOnTheOtherKind) {
    // Line 3 has no junction; junction 2 lies on line 2 only, which carries no other.
    const MapGraph graph(3, {JunctionOf(1, 1), JunctionOf(2, 5)});
    const auto lines = LineAdjacencyMatrix(graph);
    EXPECT_EQ(lines(0, 0), 1);
    EXPECT_EQ(lines(1, 1), 1);
    EXPECT_EQ(lines(2, 2), 0);
    EXPECT_EQ(lines(0, 1), 0);
    const auto junctions = JunctionAdjacencyMatrix(graph);
    EXPECT_EQ(junctions(0, 0), 1);
    EXPECT_EQ(junctions(1, 1), 1);
    EXPECT_EQ(junctions(0, 1), 0);
}

TEST(AdjacencyMatrices, EqualTheMatrixProductsOfTheLineJunctionTable) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        const auto map = maps::RandomMap(random, 30);
        const MapGraph graph(map.lineCount, map.junctions);
        const auto incidence = reference::LineJunctionTable(map.lineCount, map.junctions);
        const auto lines = reference::LineAdjacencyTable(incidence);
        const auto junctions = reference::JunctionAdjacencyTable(incidence);
        const auto lineMatrix = LineAdjacencyMatrix(graph);
        const auto junctionMatrix = JunctionAdjacencyMatrix(graph);
        for (std::size_t i = 0; i < lines.rows(); ++i) {
            for (std::size_t j = 0; j < lines.columns(); ++j) {
                ASSERT_EQ(lineMatrix(i, j), lines(i, j)) << "trial " << trial;
            }
        }
        for (std::size_t i = 0; i < junctions.rows(); ++i) {
            for (std::size_t j = 0; j < junctions.columns(); ++j) {
                ASSERT_EQ(junctionMatrix(i, j), junctions(i, j)) << "trial " << trial;
            }
        }
    }
}

} // namespace
} // namespace vantrel::analysis

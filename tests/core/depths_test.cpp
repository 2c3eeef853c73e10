#include "core/analysis/depths.h"
#include "core/analysis/integration.h"

#include "support/junction_walk.h"
#include "support/map_generators.h"
#include "support/matrix_iteration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace vantrel::analysis {
namespace {

using maps::JunctionOf;
using maps::MapData;
using ::testing::ElementsAre;

const DepthOptions kFull{.fullMatrix = true};

DepthResult lineDepths(const MapData& map, const DepthOptions& options = kFull) {
    return ComputeLineDepths(MapGraph(map.lineCount, map.junctions), options);
}

DepthResult junctionDepths(const MapData& map, const DepthOptions& options = kFull) {
    return ComputeJunctionDepths(MapGraph(map.lineCount, map.junctions), options);
}

std::vector<int> rowOf(const Matrix<std::int16_t>& matrix, int row) {
    return {matrix.row(row), matrix.row(row) + matrix.columns()};
}

// The depths where they are at most 3, as the radius-3 table should hold them.
reference::Table cutAt3(reference::Table table) {
    for (std::size_t i = 0; i < table.rows(); ++i) {
        for (std::size_t j = 0; j < table.columns(); ++j) {
            if (table(i, j) > 3) {
                table(i, j) = 0;
            }
        }
    }
    return table;
}

void expectSameTable(const Matrix<std::int16_t>& actual, const reference::Table& expected,
                     bool withDiagonal, const std::string& where) {
    ASSERT_EQ(actual.rows(), expected.rows()) << where;
    for (std::size_t i = 0; i < expected.rows(); ++i) {
        for (std::size_t j = 0; j < expected.columns(); ++j) {
            if (withDiagonal || i != j) {
                ASSERT_EQ(actual(i, j), expected(i, j)) << where << " at " << i << ", " << j;
            }
        }
    }
}

// Everything the original's iteration leaves behind must come out of the search unchanged.
void expectSameAsIteration(const DepthResult& depths, const reference::Table& adjacency,
                           const std::string& where) {
    const auto expected = reference::IterateDepths(adjacency);
    expectSameTable(depths.depth, expected.depth, true, where);
    expectSameTable(depths.radius3Depth, cutAt3(expected.depth), true, where);
    if (expected.radius3Written) {
        expectSameTable(depths.radius3Depth, expected.radius3, false, where);
    }
    for (std::size_t i = 0; i < expected.totalDepth.size(); ++i) {
        ASSERT_EQ(depths.totalDepth[i], expected.totalDepth[i]) << where;
    }
    const auto integration = NormalisedIntegration(depths.totalDepth);
    EXPECT_EQ(integration.values, expected.integration) << where;
    EXPECT_EQ(integration.disconnectedNumbers, expected.disconnectedNumbers) << where;
    EXPECT_EQ(depths.largestDepth, expected.largestDepth) << where;
}

TEST(PrimalDepths, TwoCrossingLinesAreOneStepApartAndBothFullyIntegrated) {
    const auto depths = lineDepths({2, {JunctionOf(1, 2)}});
    EXPECT_THAT(rowOf(depths.depth, 0), ElementsAre(0, 1));
    EXPECT_THAT(rowOf(depths.depth, 1), ElementsAre(1, 0));
    EXPECT_THAT(depths.totalDepth, ElementsAre(1, 1));
    EXPECT_THAT(NormalisedIntegration(depths.totalDepth).values, ElementsAre(1.0f, 1.0f));
    EXPECT_EQ(depths.largestDepth, 1);
}

TEST(PrimalDepths, AChainOfThreeLinesIsMostIntegratedInTheMiddle) {
    const auto depths = lineDepths({3, {JunctionOf(1, 2), JunctionOf(2, 3)}});
    EXPECT_THAT(rowOf(depths.depth, 0), ElementsAre(0, 1, 2));
    EXPECT_THAT(depths.totalDepth, ElementsAre(3, 2, 3));
    EXPECT_THAT(NormalisedIntegration(depths.totalDepth).values, ElementsAre(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(depths.largestDepth, 2);
}

TEST(PrimalDepths, AnIsolatedLineAmongCrossingOnesIsReportedAndGetsZero) {
    const auto depths = lineDepths({4, {JunctionOf(1, 2), JunctionOf(1, 3), JunctionOf(2, 3)}});
    const auto integration = NormalisedIntegration(depths.totalDepth);
    EXPECT_THAT(integration.values, ElementsAre(1.0f, 1.0f, 1.0f, 0.0f));
    EXPECT_THAT(integration.disconnectedNumbers, ElementsAre(4));
    EXPECT_THAT(rowOf(depths.depth, 3), ElementsAre(0, 0, 0, 0));
}

TEST(PrimalDepths, TwoSeparateCrossingPairsAreAllFullyIntegrated) {
    const MapData map{4, {JunctionOf(1, 2), JunctionOf(3, 4)}};
    const auto depths = lineDepths(map);
    const auto integration = NormalisedIntegration(depths.totalDepth);
    EXPECT_THAT(integration.values, ElementsAre(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_TRUE(integration.disconnectedNumbers.empty());
    EXPECT_EQ(depths.depth(0, 2), 0);
    EXPECT_EQ(depths.largestDepth, 1);
}

TEST(PrimalDepths, AMapWithinDepthTwoStillGetsItsRadius3Depths) {
    // The original leaves its radius-3 table unwritten when every pair is within depth 2.
    const MapData star{4, {JunctionOf(1, 2), JunctionOf(1, 3), JunctionOf(1, 4)}};
    const auto adjacency =
        reference::LineAdjacencyTable(reference::LineJunctionTable(star.lineCount, star.junctions));
    ASSERT_FALSE(reference::IterateDepths(adjacency).radius3Written);
    const auto depths = lineDepths(star);
    EXPECT_EQ(depths.radius3Depth, depths.depth);
    EXPECT_EQ(depths.radius3Depth(1, 2), 2);
}

TEST(PrimalDepths, Radius3DepthsStopAtThreeAndHaveAClearDiagonal) {
    std::vector<Junction> chain;
    for (int number = 1; number < 6; ++number) {
        chain.push_back(JunctionOf(number, number + 1));
    }
    const auto depths = lineDepths({6, chain});
    EXPECT_THAT(rowOf(depths.radius3Depth, 0), ElementsAre(0, 1, 2, 3, 0, 0));
    EXPECT_THAT(rowOf(depths.depth, 0), ElementsAre(0, 1, 2, 3, 4, 5));
    EXPECT_THAT(depths.histograms.of(0), ElementsAre(1, 1, 1, 1, 1));
    EXPECT_THAT(depths.histograms.of(2), ElementsAre(2, 2, 1));
    EXPECT_EQ(depths.reached[0], 5);
}

TEST(PrimalDepths, TotalDepthsOfALongChainDoNotOverflow) {
    // Line 1 of a 300-line chain has a total depth of 44850, beyond 16 bits.
    std::vector<Junction> chain;
    for (int number = 1; number < 300; ++number) {
        chain.push_back(JunctionOf(number, number + 1));
    }
    const auto depths = lineDepths({300, chain}, {});
    EXPECT_EQ(depths.totalDepth[0], 44850);
    EXPECT_EQ(depths.largestDepth, 299);
    EXPECT_TRUE(NormalisedIntegration(depths.totalDepth).disconnectedNumbers.empty());
}

TEST(PrimalDepths, AMapWithoutLinesHasNothingAndLargestDepthZero) {
    const auto depths = lineDepths({0, {}});
    EXPECT_TRUE(depths.totalDepth.empty());
    EXPECT_EQ(depths.histograms.itemCount(), 0);
    EXPECT_EQ(depths.largestDepth, 0);
}

TEST(PrimalDepths, WithoutAFullMatrixOnlyTheCountsAreKept) {
    const auto depths = lineDepths({3, {JunctionOf(1, 2), JunctionOf(2, 3)}}, {});
    EXPECT_TRUE(depths.depth.empty());
    EXPECT_TRUE(depths.radius3Depth.empty());
    EXPECT_THAT(depths.histograms.of(0), ElementsAre(1, 1));
    EXPECT_THAT(depths.totalDepth, ElementsAre(3, 2, 3));
}

TEST(PrimalDepths, AFullMatrixBeyondSixteenBitDepthsIsRefused) {
    EXPECT_THROW(lineDepths({kMaxFullMatrixItems + 1, {}}), std::invalid_argument);
}

TEST(DualDepths, ATriangleOfLinesGivesThreeFullyIntegratedJunctions) {
    const auto depths = junctionDepths({3, {JunctionOf(1, 2), JunctionOf(1, 3), JunctionOf(2, 3)}});
    EXPECT_THAT(rowOf(depths.depth, 0), ElementsAre(0, 1, 1));
    EXPECT_THAT(depths.totalDepth, ElementsAre(2, 2, 2));
    EXPECT_THAT(NormalisedIntegration(depths.totalDepth).values, ElementsAre(1.0f, 1.0f, 1.0f));
}

TEST(DualDepths, JunctionsOnOneLineAreOneStepApart) {
    const auto depths = junctionDepths({4, {JunctionOf(1, 2), JunctionOf(1, 3), JunctionOf(1, 4)}});
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(depths.depth(row, column), row == column ? 0 : 1);
        }
    }
}

TEST(DualDepths, ALoneCrossingBesideAConnectedGroupGetsZero) {
    const auto depths = junctionDepths({5, {JunctionOf(1, 2), JunctionOf(3, 4), JunctionOf(4, 5)}});
    const auto integration = NormalisedIntegration(depths.totalDepth);
    EXPECT_THAT(integration.values, ElementsAre(0.0f, 1.0f, 1.0f));
    EXPECT_THAT(integration.disconnectedNumbers, ElementsAre(1));
}

TEST(DualDepths, JunctionsCountTheLinesBetweenThem) {
    // Chain 1-2-3-4: junction 1 (lines 1, 2) to junction 3 (lines 3, 4) crosses line 2 to 3.
    const auto depths = junctionDepths({4, {JunctionOf(1, 2), JunctionOf(2, 3), JunctionOf(3, 4)}});
    EXPECT_THAT(rowOf(depths.depth, 0), ElementsAre(0, 1, 2));
    EXPECT_THAT(depths.totalDepth, ElementsAre(3, 2, 3));
}

TEST(SearchedDepths, EqualTheMatrixIterationOnRandomMaps) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 300; ++trial) {
        const auto map = maps::RandomMap(random, 40);
        const auto incidence = reference::LineJunctionTable(map.lineCount, map.junctions);
        if (map.lineCount >= 2) {
            expectSameAsIteration(lineDepths(map), reference::LineAdjacencyTable(incidence),
                                  "lines of trial " + std::to_string(trial));
        }
        if (map.junctions.size() >= 2) {
            expectSameAsIteration(junctionDepths(map), reference::JunctionAdjacencyTable(incidence),
                                  "junctions of trial " + std::to_string(trial));
        }
    }
}

TEST(SearchedDepths, EqualTheMatrixIterationOnGroupsOfGrowingMaps) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 20; ++trial) {
        const auto group = maps::GrowingMap(random, 12, 16, 4);
        const auto map = maps::SeparateCopies(group, 1 + trial % 4);
        const auto incidence = reference::LineJunctionTable(map.lineCount, map.junctions);
        expectSameAsIteration(lineDepths(map), reference::LineAdjacencyTable(incidence),
                              "lines of trial " + std::to_string(trial));
        expectSameAsIteration(junctionDepths(map), reference::JunctionAdjacencyTable(incidence),
                              "junctions of trial " + std::to_string(trial));
    }
}

TEST(DualDepths, SearchingTheLinesEqualsWalkingTheJunctionGraph) {
    std::mt19937 random(5);
    const MapData samples[] = {maps::StreetGrid(random, 30, 30),
                               maps::GrowingMap(random, 800, 1500, 30),
                               maps::SeparateCopies(maps::GrowingMap(random, 40, 60, 5), 12),
                               maps::RandomMap(random, 600)};
    for (const auto& map : samples) {
        const MapGraph graph(map.lineCount, map.junctions);
        const auto depths = ComputeJunctionDepths(graph, kFull);
        for (int source = 0; source < graph.junctionCount(); ++source) {
            ASSERT_EQ(rowOf(depths.depth, source), reference::JunctionDepthsFrom(graph, source))
                << "junction " << source + 1 << " of " << graph.junctionCount();
        }
    }
}

TEST(SearchedDepths, DoNotDependOnTheNumberOfThreads) {
    std::mt19937 random(11);
    const auto map = maps::StreetGrid(random, 40, 40);
    const MapGraph graph(map.lineCount, map.junctions);
    const auto lines = ComputeLineDepths(graph, kFull);
    const auto junctions = ComputeJunctionDepths(graph, kFull);
    for (int threads : {2, 3, 8}) {
        const DepthOptions options{.fullMatrix = true, .threads = threads};
        const auto moreLines = ComputeLineDepths(graph, options);
        const auto moreJunctions = ComputeJunctionDepths(graph, options);
        EXPECT_EQ(moreLines.depth, lines.depth) << threads;
        EXPECT_EQ(moreLines.histograms, lines.histograms) << threads;
        EXPECT_EQ(moreLines.totalDepth, lines.totalDepth) << threads;
        EXPECT_EQ(moreJunctions.depth, junctions.depth) << threads;
        EXPECT_EQ(moreJunctions.histograms, junctions.histograms) << threads;
        EXPECT_EQ(moreJunctions.reached, junctions.reached) << threads;
        EXPECT_EQ(moreJunctions.largestDepth, junctions.largestDepth) << threads;
    }
}

void expectSameDepths(const DepthResult& actual, const DepthResult& expected,
                      const std::string& where) {
    EXPECT_EQ(actual.depth, expected.depth) << where;
    EXPECT_EQ(actual.radius3Depth, expected.radius3Depth) << where;
    EXPECT_EQ(actual.histograms, expected.histograms) << where;
    EXPECT_EQ(actual.totalDepth, expected.totalDepth) << where;
    EXPECT_EQ(actual.reached, expected.reached) << where;
    EXPECT_EQ(actual.largestDepth, expected.largestDepth) << where;
}

TEST(SearchedDepths, AreTheSameWithThePortableWordsAsWithTheWidest) {
    std::mt19937 random(13);
    const MapData samples[] = {maps::StreetGrid(random, 40, 40), maps::RandomMap(random, 700),
                               maps::SeparateCopies(maps::GrowingMap(random, 30, 50, 5), 20)};
    for (std::size_t sample = 0; sample < std::size(samples); ++sample) {
        const MapGraph graph(samples[sample].lineCount, samples[sample].junctions);
        for (const bool full : {true, false}) {
            const DepthOptions widest{.fullMatrix = full, .threads = 2};
            const DepthOptions portable{
                .fullMatrix = full, .threads = 2, .words = SourceWords::Portable};
            const std::string where = "sample " + std::to_string(sample) + (full ? " full" : "");
            expectSameDepths(ComputeLineDepths(graph, portable), ComputeLineDepths(graph, widest),
                             "lines of " + where);
            expectSameDepths(ComputeJunctionDepths(graph, portable),
                             ComputeJunctionDepths(graph, widest), "junctions of " + where);
        }
    }
}

TEST(SearchedDepths, CountThousandsOfItemsAtOneDepth) {
    // Line 1 crossed by 5000 lines: every one of them, and every junction, is directly related
    // to thousands of others.
    MapData star{5001, {}};
    for (int number = 2; number <= 5001; ++number) {
        star.junctions.push_back(JunctionOf(1, number));
    }
    for (const auto words : {SourceWords::Widest, SourceWords::Portable}) {
        const auto lines = lineDepths(star, {.words = words});
        EXPECT_THAT(lines.histograms.of(0), ElementsAre(5000));
        EXPECT_THAT(lines.histograms.of(4321), ElementsAre(1, 4999));
        EXPECT_EQ(lines.totalDepth[4321], 1 + 2 * 4999);
        const auto junctions = junctionDepths(star, {.words = words});
        EXPECT_THAT(junctions.histograms.of(0), ElementsAre(4999));
        EXPECT_THAT(junctions.histograms.of(4999), ElementsAre(4999));
    }
}

class RecordedProgress final : public Progress {
public:
    void start(int totalSteps) override { started.push_back(totalSteps); }
    void advance(int done) override { steps.push_back(done); }
    void finish() override { ++finished; }
    std::vector<int> started;
    std::vector<int> steps;
    int finished = 0;
};

TEST(SearchedDepths, ReportProgressFromStartToFinishWithTheStepsRising) {
    std::mt19937 random(3);
    const auto map = maps::GrowingMap(random, 1000, 1500, 20);
    RecordedProgress progress;
    ComputeLineDepths(MapGraph(map.lineCount, map.junctions),
                      {.threads = 2, .progress = &progress, .words = SourceWords::Portable});
    // 1000 sources are searched in 8 batches of up to 128.
    EXPECT_THAT(progress.started, ElementsAre(8));
    EXPECT_EQ(progress.finished, 1);
    ASSERT_FALSE(progress.steps.empty());
    EXPECT_EQ(progress.steps.back(), 8);
    EXPECT_TRUE(std::is_sorted(progress.steps.begin(), progress.steps.end()));
    EXPECT_LE(progress.steps.size(), 8u);
}

} // namespace
} // namespace vantrel::analysis

#include "core/analysis/statistics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantrel::analysis {
namespace {

ProjectState mapOf(std::vector<AxialLine> lines, std::vector<Junction> junctions = {}) {
    ProjectState state;
    state.AxialLines = std::move(lines);
    state.Junctions = std::move(junctions);
    state.IntersectionsComputed = true;
    return state;
}

Matrix<std::int16_t> chainDepths(int count) {
    Matrix<std::int16_t> depth(count, count);
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < count; ++j)
            depth(i, j) = static_cast<std::int16_t>(std::abs(i - j));
    return depth;
}

void expectNoBrokenNumbers(const StatisticsTexts& texts) {
    for (const std::string& text : texts.texts) {
        EXPECT_EQ(text.find("inf"), std::string::npos) << text;
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
        EXPECT_EQ(text.find("  ."), std::string::npos) << text;
        EXPECT_EQ(text.find(" . "), std::string::npos) << text;
        EXPECT_EQ(text.find("is  where"), std::string::npos) << text;
    }
}

// Two lines crossing once, of lengths 300 and 100.
ProjectState twoCrossingLines() {
    return mapOf({{0, 0, 300, 0}, {100, -50, 100, 50}}, {{1, 2, 100, 0}});
}

TEST(AxialMapStatistics, RefusesUntilTheIntersectionsAreComputed) {
    ProjectState state = twoCrossingLines();
    state.IntersectionsComputed = false;
    const AxialMapStatisticsResult result = AxialMapStatistics(state);
    EXPECT_TRUE(result.refused);
    EXPECT_EQ(result.texts.texts[0],
              "You need to compute the line intersections before you can generate statistics");
    EXPECT_TRUE(result.texts.onlyFirstTextShown);
    EXPECT_EQ(result.texts.caption, std::nullopt);
}

TEST(AxialMapStatistics, TwoLinesFormingOneJunctionReadWordForWord) {
    const AxialMapStatisticsResult result = AxialMapStatistics(twoCrossingLines());
    EXPECT_FALSE(result.refused);
    EXPECT_FALSE(result.texts.onlyFirstTextShown);
    EXPECT_EQ(result.texts.caption, "Statistics of the Axial Map");
    EXPECT_EQ(result.linesPerJunction, 2.0f);
    EXPECT_EQ(result.junctionsPerLine, 0.5f);
    EXPECT_EQ(result.upperRatio, 0.5f);
    EXPECT_EQ(result.texts.texts[0],
              "The axial map you have drawn has  2 lines and 1 junctions. This gives a ratio of "
              "2. lines to junctions. To give an idea of what type of map this is, had you drawn "
              "a completely linear axial map connected as a circle, then the ratio would be 1, "
              "with the same number of junctions as the number of lines. So in this case, your "
              "map is .5 times as dense in terms of junctions to lines as a map based on a "
              "string of lines arranged in a circle. Very dense axial maps have a very large "
              "number of junctions to lines but it is rare to find maps denser than the number "
              "of lines/4; in this case, this upper ratio would be .5");
    EXPECT_EQ(result.texts.texts[1],
              "You can get an idea of this density in the snapshot of axial lines on the black "
              "inset screen where the lines are in white and the junctions are in red");
    EXPECT_EQ(result.texts.texts[2],
              "The total distance of all the lines drawn is 400 where the units are the "
              "arbitrary ones used on the screen. With  2 lines, then the average or mean axial "
              "line length is 200 and the standard deviation of line lengths is 100. With the "
              "ratio of mean to standard deviation as 2., then this implies that the graph is "
              "near normal");
    EXPECT_EQ(result.texts.texts[3], "In future versions of this program, we will extract more "
                                     "statistical properties of the axial map.");
}

TEST(AxialMapStatistics, SkewCountsMeanMinusLengthSoManyShortLinesSkewLeft) {
    const auto skewOf = [](std::vector<float> lengths) {
        std::vector<AxialLine> lines;
        for (float length : lengths)
            lines.push_back({0, 0, length, 0});
        return AxialMapStatistics(mapOf(lines));
    };
    const AxialMapStatisticsResult manyShort = skewOf({100, 100, 100, 1000});
    EXPECT_LT(*manyShort.skew, -1);
    EXPECT_EQ(manyShort.skewWord, " skewed to the left");
    EXPECT_EQ(skewOf({1000, 1000, 1000, 100}).skewWord, " skewed to the right");
}

TEST(AxialMapStatistics, EqualLengthsHaveNoDeviationRatioOrSkew) {
    // Three equal lengths whose float mean misses them by a rounding step.
    const AxialMapStatisticsResult result = AxialMapStatistics(
        mapOf({{0, 0, 3, 7}, {10, 0, 13, 7}, {20, 0, 23, 7}}, {{1, 2, 5, 5}, {2, 3, 15, 5}}));
    EXPECT_EQ(result.lengthDeviation, 0.0f);
    EXPECT_EQ(result.meanOverDeviation, std::nullopt);
    EXPECT_EQ(result.skew, std::nullopt);
    EXPECT_EQ(result.texts.texts[2],
              "The total distance of all the lines drawn is 23 where the units are the arbitrary "
              "ones used on the screen. With  3 lines, then the average or mean axial line length "
              "is 8 and the standard deviation of line lengths is 0. With the ratio of mean to "
              "standard deviation as n/a, then this implies that the graph is not skewed (all "
              "lines have the same length)");
    expectNoBrokenNumbers(result.texts);
}

TEST(AxialMapStatistics, ASingleLineWithoutJunctionsShowsNoRatioOfLinesToJunctions) {
    const AxialMapStatisticsResult result = AxialMapStatistics(mapOf({{0, 0, 500, 0}}));
    EXPECT_EQ(result.linesPerJunction, std::nullopt);
    EXPECT_EQ(result.junctionsPerLine, 0.0f);
    const std::string& text1 = result.texts.texts[0];
    EXPECT_NE(text1.find("has  1 lines and 0 junctions. This gives a ratio of n/a lines"),
              std::string::npos);
    EXPECT_NE(text1.find("your map is 0 times as dense"), std::string::npos);
    EXPECT_NE(text1.find("this upper ratio would be .25"), std::string::npos);
    EXPECT_NE(result.texts.texts[2].find("mean axial line length is 500 and the standard "
                                         "deviation of line lengths is 0."),
              std::string::npos);
    expectNoBrokenNumbers(result.texts);
}

TEST(AxialMapStatistics, AnEmptyMapShowsNoValuesButWholeSentences) {
    const AxialMapStatisticsResult result = AxialMapStatistics(mapOf({}));
    EXPECT_NE(result.texts.texts[0].find("ratio of n/a lines to junctions"), std::string::npos);
    EXPECT_NE(result.texts.texts[0].find("your map is n/a times"), std::string::npos);
    EXPECT_NE(result.texts.texts[0].find("upper ratio would be 0"), std::string::npos);
    EXPECT_EQ(result.texts.texts[2],
              "The total distance of all the lines drawn is 0 where the units are the arbitrary "
              "ones used on the screen. With  0 lines, then the average or mean axial line length "
              "is n/a and the standard deviation of line lengths is n/a. With the ratio of mean "
              "to standard deviation as n/a, then this implies that the graph is n/a");
    expectNoBrokenNumbers(result.texts);
}

// Three lines in a chain, nodes at (100, 0), (200, 0) and (200, 100).
ProjectState chainOfThreeLines() {
    ProjectState state = mapOf({{0, 0, 200, 0}, {200, -100, 200, 100}, {100, 100, 300, 100}},
                               {{1, 2, 200, 0}, {2, 3, 200, 100}});
    state.LineDepth = chainDepths(3);
    return state;
}

TEST(AxialGraphStatistics, ChainOfThreeLinesReadsWordForWord) {
    const GraphStatisticsResult result = AxialGraphStatistics(chainOfThreeLines());
    EXPECT_EQ(result.arcs, 2);
    EXPECT_EQ(result.complete, 3.0f);
    EXPECT_EQ(result.texts.caption, "Statistics of the Axial Graph");
    EXPECT_EQ(result.texts.texts[0],
              "The axial graph associated with the axial map has  2 arcs and 3 nodes. This gives "
              "a ratio of .67 arcs to nodes. Had you drawn the minimally connected graph which is "
              "called a tree, then this ratio would be n-1 arcs to n nodes and thus a little less "
              "than 1 but close to 1 for large n, the lower bound of a connected graph. With "
              "these values, the tree graph has a ratio which is .67 and this must be compared "
              "with the case where every node (associated with an axial line) is connected to "
              "every other node (every other line) which gives a ratio of 3.  In fact such "
              "complete connectivity is an extreme possibility.");
    EXPECT_EQ(result.texts.texts[1], "The ratios of the tree graph and our actual graph to the "
                                     "completely connected structure are .222 and .222 "
                                     "respectively.");
    EXPECT_EQ(result.texts.texts[2],
              "The average topological distance in this graph which computed from summing the "
              "shortest path lengths from any node to any other based on the original binary "
              "matrix is 1.33. This is an important measure as it is the average span or average "
              "depth of the axial map in fact. The average distance in Euclidean terms between "
              "the midpoints of each axial line is 113.81.");
    EXPECT_EQ(result.texts.texts[3], "In future versions of this program, we will extract "
                                     "statistical properties of these graphs.");
}

TEST(JunctionGraphStatistics, TwoJunctionsOnOneLineUseTheJunctionSentences) {
    ProjectState state = mapOf({{0, 0, 300, 400}, {-10, 0, 10, 0}, {290, 400, 310, 400}},
                               {{1, 2, 0, 0}, {1, 3, 300, 400}});
    state.JunctionDepth = chainDepths(2);
    const GraphStatisticsResult result = JunctionGraphStatistics(state);
    EXPECT_EQ(result.texts.caption, "Statistics of the Axial Graph");
    const std::string& text1 = result.texts.texts[0];
    EXPECT_EQ(text1.rfind("The junction graph associated with the axial map has  1 arcs and 2 "
                          "nodes. This gives a ratio of .5 arcs to nodes.",
                          0),
              0u);
    EXPECT_NE(text1.find("every node (associated with an axial line) is connected to every other "
                         "node (every other line) which gives a ratio of 1.  In fact"),
              std::string::npos);
    EXPECT_EQ(result.texts.texts[2],
              "The average topological distance in this graph which computed from summing the "
              "shortest path lengths from any node to any other based on the original binary "
              "matrix is 1.. This is an important measure as it is the average span or average "
              "depth of the junction map in fact. The average distance in Euclidean terms "
              "between the junctions on each axial line is 500..");
}

TEST(GraphStatistics, FewerThanTwoNodesShowNoRatiosToTheCompleteGraph) {
    ProjectState single = mapOf({{0, 0, 100, 0}});
    single.LineDepth = chainDepths(1);
    const GraphStatisticsResult one = AxialGraphStatistics(single);
    EXPECT_NE(one.texts.texts[0].find("has  0 arcs and 1 nodes. This gives a ratio of 0 arcs"),
              std::string::npos);
    EXPECT_NE(one.texts.texts[0].find("which gives a ratio of 0.  In fact"), std::string::npos);
    EXPECT_EQ(one.texts.texts[1], "The ratios of the tree graph and our actual graph to the "
                                  "completely connected structure are n/a and n/a "
                                  "respectively.");
    EXPECT_NE(one.texts.texts[2].find("binary matrix is n/a. This"), std::string::npos);
    EXPECT_NE(one.texts.texts[2].find("each axial line is n/a."), std::string::npos);
    expectNoBrokenNumbers(one.texts);

    const GraphStatisticsResult none = JunctionGraphStatistics(mapOf({}));
    EXPECT_NE(none.texts.texts[0].find("ratio of n/a arcs to nodes"), std::string::npos);
    EXPECT_NE(none.texts.texts[0].find("has a ratio which is n/a and"), std::string::npos);
    expectNoBrokenNumbers(none.texts);
}

TEST(GraphStatistics, ADepthMatrixOlderThanTheMapCountsNewItemsAsUnconnected) {
    ProjectState state = chainOfThreeLines();
    state.AxialLines.push_back({0, 500, 100, 500});
    const GraphStatisticsResult result = AxialGraphStatistics(state);
    EXPECT_EQ(result.arcs, 2);
    EXPECT_EQ(result.averageDepth, 4.0f / 6);
}

} // namespace
} // namespace vantrel::analysis

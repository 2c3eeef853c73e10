#include "core/geometry/line_checks.h"

#include <gtest/gtest.h>

namespace vantrel::geometry {
namespace {

TEST(RogueLines, AClickWithoutDragIsRogue) {
    EXPECT_TRUE(IsRogueLine({300, 200, 300, 200}));
}

TEST(RogueLines, AStrokeUnderFiftyUnitsOnBothAxesIsRogue) {
    EXPECT_TRUE(IsRogueLine({100, 100, 149, 149}));
    EXPECT_TRUE(IsRogueLine({149, 149, 100, 100}));
    EXPECT_TRUE(IsRogueLine({100, 100, 149.99f, 51}));
}

TEST(RogueLines, FiftyUnitsOnEitherAxisIsALine) {
    EXPECT_FALSE(IsRogueLine({100, 100, 150, 100}));
    EXPECT_FALSE(IsRogueLine({100, 100, 100, 50}));
    EXPECT_FALSE(IsRogueLine({100, 100, 150, 149}));
}

TEST(RogueLines, TheCheckKeepsEveryLineButTheRogueOnes) {
    const KeepFlags keep = CheckRogueLines({{0, 0, 500, 0}, {7, 7, 7, 7}, {0, 0, 0, 500}});
    EXPECT_EQ(keep, (KeepFlags{true, false, true}));
    EXPECT_TRUE(CheckRogueLines({}).empty());
}

TEST(RogueLines, TheMarkSitsAtTheMidPoint) {
    EXPECT_EQ(MidPoint({10, 20, 31, 41}), (MapPoint{20.5f, 30.5f}));
}

TEST(DisconnectedLines, ALineWithoutJunctionIsMarked) {
    Matrix<std::int16_t> matrix(3, 1, 0);
    matrix(0, 0) = matrix(2, 0) = 1;
    EXPECT_EQ(CheckDisconnectedLines(matrix, 3), (KeepFlags{true, false, true}));
    EXPECT_EQ(CheckDisconnectedLines(BuildIncidence(3, {{1, 3, 0, 0}})),
              (KeepFlags{true, false, true}));
}

TEST(DisconnectedLines, LinesBeyondTheMatrixHaveNoJunction) {
    Matrix<std::int16_t> matrix(1, 1, 1);
    EXPECT_EQ(CheckDisconnectedLines(matrix, 2), (KeepFlags{true, false}));
    EXPECT_EQ(CheckDisconnectedLines(Matrix<std::int16_t>{}, 2), (KeepFlags{false, false}));
}

ProjectState FiveLinesWithJunctions() {
    ProjectState state;
    for (int number = 1; number <= 5; ++number)
        state.AxialLines.push_back({float(number), 0, float(number), 100});
    state.Junctions = {{1, 2, 0, 0}};
    state.LineJunctionMatrix = Matrix<std::int16_t>(5, 1, 0);
    state.IntersectionsComputed = true;
    return state;
}

TEST(DeleteLines, DeletingLinesTwoAndFourOfFiveRenumbersOneThreeFive) {
    ProjectState state = FiveLinesWithJunctions();
    EXPECT_EQ(DeleteLines(state, {true, false, true, false, true}), 2);
    const std::vector<AxialLine> expected{{1, 0, 1, 100}, {3, 0, 3, 100}, {5, 0, 5, 100}};
    EXPECT_EQ(state.AxialLines, expected);
    EXPECT_EQ(state.LineCount(), 3);
}

TEST(DeleteLines, ADeletionMarksTheJunctionsOutOfDate) {
    ProjectState state = FiveLinesWithJunctions();
    DeleteLines(state, {true, false});
    EXPECT_EQ(state.LineCount(), 4);
    EXPECT_EQ(state.JunctionCount(), 0);
    EXPECT_TRUE(state.LineJunctionMatrix.empty());
    EXPECT_FALSE(state.IntersectionsComputed);
}

TEST(DeleteLines, KeepingEveryLineChangesNothing) {
    ProjectState state = FiveLinesWithJunctions();
    EXPECT_EQ(DeleteLines(state, KeepFlags(5, true)), 0);
    EXPECT_EQ(state.LineCount(), 5);
    EXPECT_EQ(state.JunctionCount(), 1);
    EXPECT_TRUE(state.IntersectionsComputed);
}

TEST(DeleteLines, DeletingEveryLineLeavesNoLinesAndNoJunctions) {
    ProjectState state = FiveLinesWithJunctions();
    EXPECT_EQ(DeleteLines(state, KeepFlags(5, false)), 5);
    EXPECT_EQ(state.LineCount(), 0);
    EXPECT_EQ(state.JunctionCount(), 0);
}

} // namespace
} // namespace vantrel::geometry

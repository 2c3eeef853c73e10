#include "core/geometry/incidence.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vantrel::geometry {
namespace {

// Four lines; junctions (1, 2), (1, 3), (2, 3); line 4 is freestanding.
const std::vector<Junction> kTriangle{{1, 2, 0, 0}, {1, 3, 5, 0}, {2, 3, 3, 4}};

TEST(LineJunctionMatrix, MarksTheTwoLinesOfEachJunction) {
    const auto matrix = BuildLineJunctionMatrix(4, kTriangle);
    ASSERT_EQ(matrix.rows(), 4u);
    ASSERT_EQ(matrix.columns(), 3u);
    const std::int16_t expected[4][3] = {{1, 1, 0}, {1, 0, 1}, {0, 1, 1}, {0, 0, 0}};
    for (int line = 0; line < 4; ++line)
        for (int junction = 0; junction < 3; ++junction)
            EXPECT_EQ(matrix(line, junction), expected[line][junction]) << line << "," << junction;
}

TEST(LineJunctionMatrix, LineNumbersAreRoundedToTheNearestLine) {
    const auto matrix = BuildLineJunctionMatrix(3, {{0.6f, 2.4f, 0, 0}});
    EXPECT_EQ(matrix(0, 0), 1);
    EXPECT_EQ(matrix(1, 0), 1);
    EXPECT_EQ(matrix(2, 0), 0);
}

TEST(LineJunctionMatrix, AJunctionNamingAMissingLineIsRefused) {
    EXPECT_THROW(BuildLineJunctionMatrix(2, {{1, 3, 0, 0}}), std::out_of_range);
    EXPECT_THROW(BuildLineJunctionMatrix(2, {{0, 1, 0, 0}}), std::out_of_range);
}

TEST(Incidence, ListsEachLinesJunctionsInAscendingOrder) {
    const auto incidence = BuildIncidence(4, kTriangle);
    EXPECT_EQ(incidence.lineCount, 4);
    EXPECT_EQ(incidence.junctionCount, 3);
    const std::vector<std::vector<int>> expected{{0, 1}, {0, 2}, {1, 2}, {}};
    for (int line = 0; line < 4; ++line) {
        const auto junctions = incidence.junctionsOf(line);
        EXPECT_EQ(std::vector<int>(junctions.begin(), junctions.end()), expected[line]) << line;
    }
    const std::vector<std::array<int, 2>> lines{{0, 1}, {0, 2}, {1, 2}};
    EXPECT_EQ(incidence.junctionLines, lines);
}

TEST(Incidence, AJunctionOfALineWithItselfIsListedOnce) {
    const auto incidence = BuildIncidence(2, {{2, 2, 0, 0}});
    EXPECT_TRUE(incidence.junctionsOf(0).empty());
    EXPECT_EQ(incidence.junctionsOf(1).size(), 1u);
}

TEST(Incidence, NoLinesAndNoJunctionsGiveAnEmptyIncidence) {
    const auto incidence = BuildIncidence(0, {});
    EXPECT_EQ(incidence.lineOffsets, std::vector<int>{0});
    EXPECT_TRUE(incidence.lineJunctions.empty());
    EXPECT_THROW(BuildIncidence(0, {{1, 2, 0, 0}}), std::out_of_range);
}

} // namespace
} // namespace vantrel::geometry

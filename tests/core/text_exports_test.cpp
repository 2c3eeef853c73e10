#include "core/export/text_exports.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::exports {
namespace {

std::string Expected(const std::string& name) {
    std::ifstream file(std::string(VANTREL_TEST_DATA) + "/expected/" + name, std::ios::binary);
    EXPECT_TRUE(file) << "missing expected file " << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A horizontal line crossed by two vertical ones: junctions (1, 2) and (1, 3).
const std::vector<AxialLine> kSmallMapLines = {
    {1000, 2000, 5000, 2000},
    {2000, 1000, 2000, 4000},
    {4000.5f, 1500, 4000.5f, 3000.25f},
};
const std::vector<Junction> kSmallMapJunctions = {
    {1, 2, 2000, 2000},
    {1, 3, 4000.5f, 2000},
};

template <class Write> std::string Written(Write write) {
    std::ostringstream out;
    write(out);
    return out.str();
}

TEST(EmptyProjectExports, HoldOnlyTheirTitleEmptyAndHeadingRecords) {
    EXPECT_EQ(
        Written([](std::ostream& out) { WriteAxialLines(out, std::span<const AxialLine>{}); }),
        Expected("axial_lines_empty.txt"));
    EXPECT_EQ(Written([](std::ostream& out) { WriteJunctions(out, std::span<const Junction>()); }),
              Expected("junctions_empty.txt"));
    EXPECT_EQ(
        Written([](std::ostream& out) { WriteDataMatrix(out, 0, std::span<const Junction>()); }),
        Expected("data_matrix_empty.txt"));
    EXPECT_EQ(Written([](std::ostream& out) { WriteLineIntegration(out, 0, {}); }),
              Expected("line_integration_empty.txt"));
    EXPECT_EQ(Written([](std::ostream& out) { WriteJunctionIntegration(out, 0, {}); }),
              Expected("junction_integration_empty.txt"));
}

TEST(AxialLinesExport, WritesEachLineNumberWithItsFourCoordinates) {
    EXPECT_EQ(Written([](std::ostream& out) { WriteAxialLines(out, kSmallMapLines); }),
              Expected("axial_lines_small.txt"));
}

TEST(JunctionsExport, WritesEachJunctionWithItsTwoLinesAndItsPoint) {
    EXPECT_EQ(Written([](std::ostream& out) { WriteJunctions(out, kSmallMapJunctions); }),
              Expected("junctions_small.txt"));
}

TEST(JunctionsExport, LineNumbersAreWholeNumbersAndCoordinatesFloats) {
    const std::vector<Junction> junctions = {{7, 12, 0.5f, 1234.5f}, {7.0001f, 11.9999f, 8, 9}};
    const std::string text = Written([&](std::ostream& out) { WriteJunctions(out, junctions); });
    EXPECT_NE(text.find("\r\n\r\n1,7,12,0.5,1234.5\r\n2,7,12,8,9\r\n"), std::string::npos) << text;

    // The batch tool's junctions keep line numbers past 2^24, where floats skip odd numbers.
    const std::vector<MapJunction> large = {{16777217, 16777219, 1, 2}};
    const std::string largeText = Written([&](std::ostream& out) { WriteJunctions(out, large); });
    EXPECT_NE(largeText.find("\r\n1,16777217,16777219,1,2\r\n"), std::string::npos) << largeText;
}

TEST(DataMatrixExport, ThreeLinesAndTwoJunctionsGiveSixRowsByLineThenJunction) {
    EXPECT_EQ(Written([](std::ostream& out) { WriteDataMatrix(out, 3, kSmallMapJunctions); }),
              Expected("data_matrix_small.txt"));
}

TEST(DataMatrixExport, LinesThatNoJunctionNamesHaveOnlyZeros) {
    // A line drawn after the intersections were computed crosses nothing yet.
    const std::string text =
        Written([](std::ostream& out) { WriteDataMatrix(out, 4, kSmallMapJunctions); });
    EXPECT_NE(text.find("3,2,1\r\n4,1,0\r\n4,2,0\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 7), "4,2,0\r\n");
}

TEST(DataMatrixExport, LinesWithoutJunctionsGiveNoRows) {
    EXPECT_EQ(
        Written([](std::ostream& out) { WriteDataMatrix(out, 3, std::span<const Junction>()); }),
        Expected("data_matrix_empty.txt"));
}

TEST(IntegrationExports, WriteEachValueAsItStands) {
    const std::vector<float> lineValues = {1.0f, 0.0f, 1.0f / 3.0f};
    const std::vector<float> junctionValues = {0.1f, 0.75f};
    EXPECT_EQ(Written([&](std::ostream& out) { WriteLineIntegration(out, 3, lineValues); }),
              Expected("line_integration_small.txt"));
    EXPECT_EQ(Written([&](std::ostream& out) { WriteJunctionIntegration(out, 2, junctionValues); }),
              Expected("junction_integration_small.txt"));
}

TEST(IntegrationExports, ItemsWithoutAValueYetAreWrittenAsZero) {
    const std::vector<float> values = {0.1f};
    const std::string text =
        Written([&](std::ostream& out) { WriteJunctionIntegration(out, 3, values); });
    EXPECT_EQ(text.substr(text.find("\r\n\r\n1,")), "\r\n\r\n1,0.1\r\n2,0\r\n3,0\r\n");
}

TEST(IntegrationExports, WriteOnlyAsManyRowsAsItemsCounted) {
    const std::vector<float> values = {0.5f, 0.25f, 1.0f};
    const std::string text =
        Written([&](std::ostream& out) { WriteLineIntegration(out, 2, values); });
    EXPECT_EQ(text.substr(text.find("\r\n\r\n1,")), "\r\n\r\n1,0.5\r\n2,0.25\r\n");
}

} // namespace
} // namespace vantrel::exports

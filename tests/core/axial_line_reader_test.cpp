#include "core/io/axial_line_reader.h"

#include "core/export/text_exports.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::io {
namespace {

using ::testing::HasSubstr;

LineReadResult Read(const std::string& text) {
    std::istringstream in(text);
    return ReadAxialLines(in);
}

std::vector<AxialLine> LinesOf(const std::string& text) {
    const LineReadResult result = Read(text);
    EXPECT_FALSE(result.error) << result.error->reason;
    return result.lines;
}

LineReadError ErrorOf(const std::string& text) {
    const LineReadResult result = Read(text);
    EXPECT_TRUE(result.error);
    EXPECT_TRUE(result.lines.empty());
    return result.error.value_or(LineReadError{});
}

TEST(CsvWithHeader, ReadsTheFourCoordinatesOfEveryRowInOrder) {
    EXPECT_EQ(LinesOf("x1,y1,x2,y2\n0,30,60,30\n45,0,45,90\n"),
              (std::vector<AxialLine>{{0, 30, 60, 30}, {45, 0, 45, 90}}));
}

TEST(CsvWithHeader, FindsTheColumnsInAnyOrderAndIgnoresTheOthers) {
    const std::string text = "Ref,y2,name,X1,x2,Y1,length\n"
                             "7,4,\"High Street, north\",1,3,2,9.5\n"
                             "8,-0.5,,10,30,20,\n";
    EXPECT_EQ(LinesOf(text), (std::vector<AxialLine>{{1, 2, 3, 4}, {10, 20, 30, -0.5f}}));
}

TEST(CsvWithHeader, AcceptsQuotesBlanksCrLfAByteOrderMarkAndBlankLines) {
    const std::string text = "\xEF\xBB\xBF\"x1\", \"y1\" ,x2,y2\r\n"
                             "\r\n"
                             " 1.5 ,\"2\",+3,4e2\r\n"
                             "   \r\n";
    EXPECT_EQ(LinesOf(text), (std::vector<AxialLine>{{1.5f, 2, 3, 400}}));
}

TEST(CsvWithHeader, ReadsEachValueToTheNearestFloat) {
    const std::vector<AxialLine> lines = LinesOf("x1,y1,x2,y2\n0.1,16777217,1e-50,-0\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x1, 0.1f);
    EXPECT_EQ(lines[0].y1, 16777216.0f);
    EXPECT_EQ(lines[0].x2, 0.0f);
    EXPECT_TRUE(std::signbit(lines[0].y2));
}

TEST(AxialLinesExport, ReadsBackExactlyTheLinesItWasWrittenFrom) {
    const std::vector<AxialLine> lines = {
        {1000, 2000, 5000, 2000},
        {4000.5f, 1500, 4000.5f, 3000.25f},
        {0.1f, 1.0f / 3.0f, -7.75f, 123456.789f},
        {1e-7f, 3e20f, 0, 0},
    };
    std::ostringstream exported;
    exports::WriteAxialLines(exported, lines);
    EXPECT_EQ(LinesOf(exported.str()), lines);
}

TEST(AxialLinesExport, WithoutItsHeadingIsAnError) {
    const LineReadError error = ErrorOf("\"Number and Position of Axial Lines\"\r\n\r\n"
                                        "1,0,30,60,30\r\n");
    EXPECT_EQ(error.lineNumber, 3);
    EXPECT_THAT(error.reason, HasSubstr("heading"));
}

TEST(AxialLinesExport, NamesItsOwnColumnsInFaults) {
    const LineReadError error = ErrorOf("\"Number and Position of Axial Lines\"\r\n\r\n"
                                        "\"Line Number\",\"Start X Coord\",\"Start Y Coord\","
                                        "\"End X Coord\",\"End Y Coord\"\r\n\r\n"
                                        "1,0,30,60,30\r\n2,0,30,sixty,30\r\n");
    EXPECT_EQ(error.lineNumber, 6);
    EXPECT_EQ(error.reason, "the value \"sixty\" of column \"End X Coord\" is not a number");
}

TEST(MalformedText, AnEmptyFileIsAnErrorAtLineOne) {
    for (const std::string text : {"", "\n", "  \r\n\r\n"}) {
        const LineReadError error = ErrorOf(text);
        EXPECT_EQ(error.lineNumber, 1);
        EXPECT_EQ(error.reason, "the file is empty");
    }
}

TEST(MalformedText, AHeaderWithoutRowsIsAnErrorAfterIt) {
    const LineReadError error = ErrorOf("x1,y1,x2,y2\n");
    EXPECT_EQ(error.lineNumber, 2);
    EXPECT_EQ(error.reason, "no axial lines follow the header");
}

TEST(MalformedText, AMissingColumnIsNamedAtTheHeader) {
    const LineReadError error = ErrorOf("x1,y1,x2\n0,30,60\n");
    EXPECT_EQ(error.lineNumber, 1);
    EXPECT_THAT(error.reason, HasSubstr("no column \"y2\""));
}

TEST(MalformedText, NumbersWithoutAHeaderAreTakenForAHeaderThatLacksTheColumns) {
    const LineReadError error = ErrorOf("0,30,60,30\n45,0,45,90\n");
    EXPECT_EQ(error.lineNumber, 1);
    EXPECT_THAT(error.reason, HasSubstr("no column \"x1\""));
}

TEST(MalformedText, AColumnNamedTwiceIsAnError) {
    const LineReadError error = ErrorOf("x1,y1,x2,y2,X1\n0,0,1,1,2\n");
    EXPECT_EQ(error.lineNumber, 1);
    EXPECT_EQ(error.reason, "the header names column \"x1\" twice");
}

TEST(MalformedText, ARowTooShortForAColumnIsAnErrorAtThatRow) {
    const LineReadError error = ErrorOf("x1,y1,x2,y2\n0,30,60,30\n\n45,0,45\n");
    EXPECT_EQ(error.lineNumber, 4);
    EXPECT_EQ(error.reason, "the row has 3 fields, so no value for column \"y2\"");
}

TEST(MalformedText, AnEmptyValueIsAnError) {
    const LineReadError error = ErrorOf("x1,y1,x2,y2\n0,,60,30\n");
    EXPECT_EQ(error.lineNumber, 2);
    EXPECT_EQ(error.reason, "the value of column \"y1\" is empty");
}

TEST(MalformedText, ANonNumberIsNamedWithItsColumnAndLine) {
    for (const std::string value : {"abc", "12abc", "1,5", "--3", "+-3", "0x10"}) {
        const LineReadError error = ErrorOf("x1,y1,x2,y2\n0,30,60,30\n0,\"" + value + "\",1,1\n");
        EXPECT_EQ(error.lineNumber, 3) << value;
        EXPECT_EQ(error.reason, "the value \"" + value + "\" of column \"y1\" is not a number");
    }
}

TEST(MalformedText, AHugeOrControlCharacterValueIsQuotedShortAndEscaped) {
    const std::string huge(10'000'000, '7');
    EXPECT_EQ(ErrorOf("x1,y1,x2,y2\n" + huge + "x,1,2,3\n").reason,
              "the value \"" + huge.substr(0, 80) +
                  "...\" (10000001 characters) of column \"x1\" is not a number");
    EXPECT_EQ(ErrorOf("x1,y1,x2,y2\n\"\x1b]0;owned\a\tx\",1,2,3\n").reason,
              "the value \"\\x1b]0;owned\\x07\\tx\" of column \"x1\" is not a number");
}

TEST(MalformedText, NonFiniteValuesAreErrors) {
    for (const std::string value : {"inf", "-Infinity", "nan", "NaN"}) {
        const LineReadError error = ErrorOf("x1,y1,x2,y2\n0,30," + value + ",30\n");
        EXPECT_EQ(error.lineNumber, 2) << value;
        EXPECT_EQ(error.reason,
                  "the value \"" + value + "\" of column \"x2\" is not a finite number");
    }
}

TEST(MalformedText, AValueBeyondTheRangeOfAFloatIsAnError) {
    const LineReadError error = ErrorOf("x1,y1,x2,y2\n0,30,60,-1e39\n");
    EXPECT_EQ(error.lineNumber, 2);
    EXPECT_EQ(error.reason, "the value \"-1e39\" of column \"y2\" is too large for a coordinate");
}

TEST(MalformedText, AnUnclosedQuoteIsAnError) {
    const LineReadError error = ErrorOf("x1,y1,x2,y2\n0,30,60,\"30\n");
    EXPECT_EQ(error.lineNumber, 2);
    EXPECT_EQ(error.reason, "a quoted field is not closed");
}

TEST(MalformedText, AFaultAfterManyGoodRowsStillGivesNoLines) {
    std::string text = "x1,y1,x2,y2\n";
    for (int row = 0; row < 1000; ++row)
        text += "0," + std::to_string(row) + ",10," + std::to_string(row) + "\n";
    text += "0,1,2,nan\n";
    EXPECT_EQ(ErrorOf(text).lineNumber, 1002);
}

} // namespace
} // namespace vantrel::io

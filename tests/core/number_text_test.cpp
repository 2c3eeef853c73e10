#include "core/host/number_text.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(IntegerText, WritesDigitsWithMinusAndNoBlanks) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(12), "12");
    EXPECT_EQ(IntegerText(-7), "-7");
    EXPECT_EQ(IntegerText(500), "500");
}

TEST(NumberText, NonNegativeNumbersGetOneLeadingBlank) {
    EXPECT_EQ(NumberText(12), " 12");
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(-3), "-3");
    EXPECT_EQ("The axial map you have drawn has " + NumberText(12),
              "The axial map you have drawn has  12");
}

TEST(NumberText, FractionsUseTheShortestDecimalForm) {
    EXPECT_EQ(NumberText(0.5), " 0.5");
    EXPECT_EQ(NumberText(-2.25), "-2.25");
    EXPECT_EQ(NumberText(0.1), " 0.1");
}

TEST(FormatNumber, HashIsADigitOnlyWhereSignificantAndThePointIsAlwaysWritten) {
    EXPECT_EQ(FormatNumber(2, "#.##"), "2.");
    EXPECT_EQ(FormatNumber(0.5, "#.##"), ".5");
    EXPECT_EQ(FormatNumber(2.0 / 3.0, "#.##"), ".67");
    EXPECT_EQ(FormatNumber(2.0 / 3.0, "##.##"), ".67");
    EXPECT_EQ(FormatNumber(0, "#.##"), ".");
    EXPECT_EQ(FormatNumber(12345.678, "#.##"), "12345.68");
}

TEST(FormatNumber, ZeroIsADigitAlways) {
    EXPECT_EQ(FormatNumber(0.5, "0.00"), "0.50");
    EXPECT_EQ(FormatNumber(5, "000"), "005");
    EXPECT_EQ(FormatNumber(1.5, "#.0#"), "1.5");
    EXPECT_EQ(FormatNumber(1, "#.0#"), "1.0");
}

TEST(FormatNumber, WithoutAPointTheResultIsARoundedWholeNumber) {
    EXPECT_EQ(FormatNumber(1234.6, "######"), "1235");
    EXPECT_EQ(FormatNumber(1234.4, "######"), "1234");
    EXPECT_EQ(FormatNumber(0.4, "######"), "");
    EXPECT_EQ(FormatNumber(1234567, "###"), "1234567");
}

TEST(FormatNumber, HalvesRoundAwayFromZeroAsTyped) {
    EXPECT_EQ(FormatNumber(2.5, "#"), "3");
    EXPECT_EQ(FormatNumber(0.125, "#.##"), ".13");
    EXPECT_EQ(FormatNumber(2.675, "#.##"), "2.68");
    EXPECT_EQ(FormatNumber(0.995, "#.##"), "1.");
    EXPECT_EQ(FormatNumber(9.999, "##.##"), "10.");
}

TEST(FormatNumber, NegativesKeepTheirSignUnlessTheyRoundToZero) {
    EXPECT_EQ(FormatNumber(-1.5, "#.##"), "-1.5");
    EXPECT_EQ(FormatNumber(-0.001, "#.##"), ".");
    EXPECT_EQ(FormatNumber(-2.5, "#"), "-3");
}

TEST(FormatNumber, AnEmptyPatternGivesTheShortestForm) {
    EXPECT_EQ(FormatNumber(12, ""), "12");
    EXPECT_EQ(FormatNumber(-0.25, ""), "-0.25");
}

TEST(FormatNumber, VerySmallAndLargeValuesKeepTheirDigits) {
    EXPECT_EQ(FormatNumber(0.0004, "####.###"), ".");
    EXPECT_EQ(FormatNumber(0.0005, "####.###"), ".001");
    EXPECT_EQ(FormatNumber(1.0 / 3.0 / 3.0, "####.###"), ".111");
    EXPECT_EQ(FormatNumber(1e12, "#"), "1000000000000");
}

TEST(ParseNumber, ReadsTheLongestNumericPrefixAfterLeadingBlanks) {
    EXPECT_DOUBLE_EQ(ParseNumber("1000"), 1000);
    EXPECT_DOUBLE_EQ(ParseNumber("  3.5 lines"), 3.5);
    EXPECT_DOUBLE_EQ(ParseNumber("-1"), -1);
    EXPECT_DOUBLE_EQ(ParseNumber("+2"), 2);
    EXPECT_DOUBLE_EQ(ParseNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ParseNumber("7."), 7);
    EXPECT_DOUBLE_EQ(ParseNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(ParseNumber("12abc"), 12);
    EXPECT_DOUBLE_EQ(ParseNumber("1e3"), 1);
}

TEST(ParseNumber, TextWithoutANumberGivesZero) {
    EXPECT_DOUBLE_EQ(ParseNumber(""), 0);
    EXPECT_DOUBLE_EQ(ParseNumber("Text2"), 0);
    EXPECT_DOUBLE_EQ(ParseNumber("-"), 0);
    EXPECT_DOUBLE_EQ(ParseNumber("."), 0);
    EXPECT_DOUBLE_EQ(ParseNumber("   "), 0);
    EXPECT_DOUBLE_EQ(ParseNumber("x12"), 0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(5.5), 6);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(2.4), 2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
}

} // namespace
} // namespace vantrel

#include "core/export/records.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

namespace vantrel::exports {
namespace {

std::string FloatField(float value) {
    std::ostringstream out;
    RecordWriter(out).field(value);
    return out.str();
}

TEST(RecordFormat, FieldsAreSeparatedByCommasWithoutBlanksAndEndWithCrLf) {
    std::ostringstream out;
    RecordWriter records(out);
    records.field("Line Number").field(12).field(2.5f).end();
    records.field(-7).end();
    EXPECT_EQ(out.str(), "\"Line Number\",12,2.5\r\n-7\r\n");
}

TEST(RecordFormat, AnEmptyRecordIsCrLfAlone) {
    std::ostringstream out;
    RecordWriter records(out);
    records.field("Title").end();
    records.emptyRecord();
    records.emptyRecord();
    records.field(1).end();
    EXPECT_EQ(out.str(), "\"Title\"\r\n\r\n\r\n1\r\n");
}

TEST(RecordFormat, TextKeepsItsBlanksAndCommasAndDoublesItsQuotes) {
    std::ostringstream out;
    RecordWriter(out).field("Data Matrix: 1 is Connected, 0 is Not").field("say \"hi\"").field("");
    EXPECT_EQ(out.str(), "\"Data Matrix: 1 is Connected, 0 is Not\",\"say \"\"hi\"\"\",\"\"");
}

TEST(RecordFormat, AnEmptyFieldHoldsNothingBetweenItsCommas) {
    std::ostringstream out;
    RecordWriter(out).field(1).emptyField().field(2).emptyField().end();
    EXPECT_EQ(out.str(), "1,,2,\r\n");
}

TEST(RecordFormat, WholeNumbersAreWrittenAsIntegerText) {
    std::ostringstream out;
    RecordWriter(out).field(0).field(500).field(-3).field(4'000'000'000LL);
    EXPECT_EQ(out.str(), "0,500,-3,4000000000");
}

TEST(FloatFields, UseTheShortestDecimalFormWithALeadingZero) {
    EXPECT_EQ(FloatField(0.1f), "0.1");
    EXPECT_EQ(FloatField(1.0f), "1");
    EXPECT_EQ(FloatField(0.0f), "0");
    EXPECT_EQ(FloatField(0.5f), "0.5");
    EXPECT_EQ(FloatField(-0.25f), "-0.25");
    EXPECT_EQ(FloatField(1234.5f), "1234.5");
    EXPECT_EQ(FloatField(1.0f / 3.0f), "0.33333334");
}

TEST(FloatFields, OnlyExtremeMagnitudesTakeTheExponentForm) {
    EXPECT_EQ(FloatField(1e20f), "1e+20");
    EXPECT_EQ(FloatField(1e-5f), "1e-05");
    EXPECT_EQ(FloatField(100000.0f), "100000");
    EXPECT_EQ(FloatField(-2500000.0f), "-2500000");
    EXPECT_EQ(FloatField(20000.0f), "20000");
    EXPECT_EQ(FloatField(0.00012f), "0.00012");
}

TEST(FloatFields, AValueThatNeedsNineDigitsKeepsThemAll) {
    const float value = std::nextafter(1000.0f, 2000.0f);
    EXPECT_EQ(FloatField(value), "1000.00006");
}

TEST(FloatFields, EveryWrittenFloatReadsBackAsTheSameFloat) {
    std::mt19937 random(20240);
    for (int i = 0; i < 100000; ++i) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isfinite(value))
            continue;
        const std::string text = FloatField(value);
        float back = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(result.ptr, text.data() + text.size()) << text;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(back), std::bit_cast<std::uint32_t>(value)) << text;
    }
}

} // namespace
} // namespace vantrel::exports

// The number-to-text conversions used for everything the program shows or writes.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Decimal digits with "-" before negatives and no blanks: 12 -> "12".
std::string IntegerText(long long value);

// Whole numbers as IntegerText, others in their shortest decimal form; a non-negative number
// gets one leading blank: 12 -> " 12", -3 -> "-3", 0.5 -> " 0.5".
std::string NumberText(double value);

// Picture formatting: "#" is a digit only where significant, "0" a digit always, at most one
// "."; the value is rounded (halves away from zero) to the places after the point and the point
// is always written: 2 with "#.##" -> "2.", 0.5 -> ".5", 2/3 -> ".67", 1234.6 with "######" ->
// "1235". Other characters of the pattern are ignored.
std::string FormatNumber(double value, std::string_view pattern);

// Skips leading blanks and reads the longest numeric prefix (sign, digits, one point);
// 0 when there is none: "  3.5 lines" -> 3.5, "abc" -> 0.
double ParseNumber(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour: 2.5 -> 2, 3.5 -> 4.
long long RoundHalfEven(double value);

} // namespace vantrel

#include "core/host/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace vantrel {

std::string IntegerText(long long value) { return std::to_string(value); }

std::string NumberText(double value) {
    std::string digits;
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e18) {
        digits = IntegerText(static_cast<long long>(value));
    } else {
        char buffer[64];
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
        digits.assign(buffer, error == std::errc{} ? end : buffer);
    }
    return std::signbit(value) ? digits : " " + digits;
}

namespace {

struct Picture {
    int minimumIntegerDigits = 0; // "0"s before the point
    bool hasPoint = false;
    int places = 0;               // placeholders after the point
    int minimumPlaces = 0;        // up to and including the last "0" after the point
};

Picture ParsePicture(std::string_view pattern) {
    Picture picture;
    for (char c : pattern) {
        if (c == '.') {
            if (picture.hasPoint)
                break;
            picture.hasPoint = true;
        } else if (c == '0' || c == '#') {
            if (!picture.hasPoint) {
                picture.minimumIntegerDigits += c == '0';
            } else {
                ++picture.places;
                if (c == '0')
                    picture.minimumPlaces = picture.places;
            }
        }
    }
    return picture;
}

// The magnitude's decimal digits rounded to `places` after the point, halves away from zero.
// Rounding starts from 15 significant digits, so that 2.675 rounds as the decimal it was typed
// as, not as the binary fraction just below it.
std::pair<std::string, std::string> RoundedDigits(double magnitude, int places) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
    std::string text = buffer;
    const auto e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    std::string mantissa = text.substr(0, 1) + text.substr(2, e - 2); // 15 digits, no point

    // Position of the point within the mantissa digits.
    int pointAt = exponent + 1;
    if (pointAt < 0) {
        mantissa.insert(0, static_cast<std::size_t>(-pointAt), '0');
        pointAt = 0;
    }
    if (pointAt > static_cast<int>(mantissa.size()))
        mantissa.append(static_cast<std::size_t>(pointAt) - mantissa.size(), '0');

    const std::size_t keep = static_cast<std::size_t>(pointAt + places);
    if (mantissa.size() < keep)
        mantissa.append(keep - mantissa.size(), '0');
    const bool roundUp = mantissa.size() > keep && mantissa[keep] >= '5';
    mantissa.resize(keep);
    if (roundUp) {
        int i = static_cast<int>(keep) - 1;
        for (; i >= 0 && mantissa[static_cast<std::size_t>(i)] == '9'; --i)
            mantissa[static_cast<std::size_t>(i)] = '0';
        if (i < 0) {
            mantissa.insert(0, 1, '1');
            ++pointAt;
        } else {
            ++mantissa[static_cast<std::size_t>(i)];
        }
    }
    std::string integer = mantissa.substr(0, static_cast<std::size_t>(pointAt));
    std::string fraction = mantissa.substr(static_cast<std::size_t>(pointAt));
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    return {integer, fraction};
}

} // namespace

std::string FormatNumber(double value, std::string_view pattern) {
    if (!std::isfinite(value))
        return NumberText(value).substr(value < 0 ? 0 : 1);
    if (pattern.empty())
        return NumberText(value).substr(std::signbit(value) ? 0 : 1);

    const Picture picture = ParsePicture(pattern);
    auto [integer, fraction] = RoundedDigits(std::fabs(value), picture.places);

    if (static_cast<int>(integer.size()) < picture.minimumIntegerDigits)
        integer.insert(0, static_cast<std::size_t>(picture.minimumIntegerDigits) - integer.size(),
                       '0');
    while (static_cast<int>(fraction.size()) > picture.minimumPlaces && fraction.back() == '0')
        fraction.pop_back();

    const bool isZero = integer.find_first_not_of('0') == std::string::npos &&
                        fraction.find_first_not_of('0') == std::string::npos;
    std::string result = value < 0 && !isZero ? "-" : "";
    result += integer;
    if (picture.hasPoint)
        result += "." + fraction;
    return result;
}

double ParseNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        number += text[i++];
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        number += c;
    }
    if (!digit)
        return 0.0;
    if (number.front() == '+')
        number.erase(0, 1);
    double value = 0.0;
    const bool negative = !number.empty() && number.front() == '-';
    std::string_view unsigned_part(number);
    if (negative)
        unsigned_part.remove_prefix(1);
    std::from_chars(unsigned_part.data(), unsigned_part.data() + unsigned_part.size(), value);
    return negative ? -value : value;
}

long long RoundHalfEven(double value) { return std::llrint(value); }

} // namespace vantrel

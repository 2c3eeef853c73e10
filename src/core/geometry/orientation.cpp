#include "core/geometry/orientation.h"

#include <array>
#include <cmath>
#include <utility>

namespace vantrel::geometry {

namespace {

constexpr double kHalfUlp = 0x1p-53;
// Error bound of the plain double evaluation below (Shewchuk, "Adaptive Precision Floating-Point
// Arithmetic and Fast Robust Geometric Predicates", 1997): beyond it the sign is certain.
constexpr double kPlainErrorBound = (3.0 + 16.0 * kHalfUlp) * kHalfUlp;

// The rounding error of a + b, so that a + b == sum + error exactly (Knuth's two-sum).
double TwoSumError(double a, double b, double sum) {
    const double bPart = sum - a;
    const double aPart = sum - bPart;
    return (a - aPart) + (b - bPart);
}

// The rounding error of a * b, so that a * b == product + error exactly, when no part underflows.
double TwoProductError(double a, double b, double product) {
    return std::fma(a, b, -product);
}

// The sum of exactly representable terms, with its sign exact. The terms are gathered into a
// non-overlapping expansion of increasing magnitude, whose largest non-zero part carries the sign
// of the whole sum.
template <std::size_t N>
double ExactSum(const std::array<double, N>& terms, std::size_t count = N) {
    std::array<double, N> parts{};
    std::size_t partCount = 0;
    for (std::size_t at = 0; at < count; ++at) {
        const double term = terms[at];
        double carry = term;
        for (std::size_t i = 0; i < partCount; ++i) {
            const double sum = carry + parts[i];
            parts[i] = TwoSumError(carry, parts[i], sum);
            carry = sum;
        }
        parts[partCount++] = carry;
    }
    double estimate = 0;
    double largest = 0;
    for (const double part : parts) {
        estimate += part;
        if (part != 0)
            largest = part;
    }
    // The rounded total can tie to zero or across it in rare cases; the sign must stay exact.
    const bool estimateKeepsSign = estimate != 0 && (estimate > 0) == (largest > 0);
    return estimateKeepsSign ? estimate : largest;
}

} // namespace

double Orientation(FloatPoint a, FloatPoint b, FloatPoint c) {
    const double ax = a.x, ay = a.y, bx = b.x, by = b.y, cx = c.x, cy = c.y;
    const double left = (bx - ax) * (cy - ay);
    const double right = (by - ay) * (cx - ax);
    const double plain = left - right;
    if (std::fabs(plain) > kPlainErrorBound * (std::fabs(left) + std::fabs(right)))
        return plain;
    // Near zero: expand into products of two floats, each exact in double, and sum exactly.
    return ExactSum(std::array{bx * cy, -(bx * ay), -(ax * cy), -(by * cx), by * ax, ay * cx});
}

double Orientation(DoublePoint a, DoublePoint b, DoublePoint c) {
    const double left = (b.x - a.x) * (c.y - a.y);
    const double right = (b.y - a.y) * (c.x - a.x);
    const double plain = left - right;
    if (std::fabs(plain) > kPlainErrorBound * (std::fabs(left) + std::fabs(right)))
        return plain;
    // Near zero: each product of two coordinates as itself plus its rounding error, all summed
    // exactly. The products come first and errors of 0 are left out, so that for coordinates
    // floats hold this is the float version's sum, term for term.
    std::array<double, 12> terms{};
    const std::pair<double, double> factors[] = {{b.x, c.y},  {-b.x, a.y}, {-a.x, c.y},
                                                 {-b.y, c.x}, {b.y, a.x},  {a.y, c.x}};
    std::size_t count = 0;
    for (const auto& [first, second] : factors)
        terms[count++] = first * second;
    for (std::size_t at = 0; at < 6; ++at) {
        const double error = TwoProductError(factors[at].first, factors[at].second, terms[at]);
        if (error != 0)
            terms[count++] = error;
    }
    return ExactSum(terms, count);
}

} // namespace vantrel::geometry

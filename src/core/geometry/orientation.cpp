#include "core/geometry/orientation.h"

#include <array>
#include <cmath>

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

// The sum of exactly representable terms, with its sign exact. The terms are gathered into a
// non-overlapping expansion of increasing magnitude, whose largest non-zero part carries the sign
// of the whole sum.
template <std::size_t N> double ExactSum(const std::array<double, N>& terms) {
    std::array<double, N> parts{};
    std::size_t partCount = 0;
    for (const double term : terms) {
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

} // namespace vantrel::geometry

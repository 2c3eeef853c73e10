// The exact side test on which the junction search rests.
#pragma once

namespace vantrel::geometry {

struct FloatPoint {
    float x = 0, y = 0;
};

struct DoublePoint {
    double x = 0, y = 0;
};

// The magnitudes of double coordinates for which the side test below is exact: beyond them a
// product's rounding error could leave the range of doubles.
inline constexpr double kMaxExactCoordinate = 1e100;
inline constexpr double kMinExactCoordinate = 1e-100;

// 0, or a magnitude within kMinExactCoordinate .. kMaxExactCoordinate.
inline bool IsExactCoordinate(double value) {
    const double size = value < 0 ? -value : value;
    return size == 0 || (size >= kMinExactCoordinate && size <= kMaxExactCoordinate);
}

// Twice the signed area of the triangle a, b, c: (b - a) x (c - a), positive when the turn from
// a through b to c is counter-clockwise in a y-up frame. Its sign is exact for all finite inputs,
// and it is exactly 0 when, and only when, the three points are collinear; its magnitude is
// correct to a few units in the last place.
double Orientation(FloatPoint a, FloatPoint b, FloatPoint c);
// The same for double coordinates of magnitude 0 or within kMinExactCoordinate ..
// kMaxExactCoordinate; for coordinates that floats hold, exactly the value of the float version.
double Orientation(DoublePoint a, DoublePoint b, DoublePoint c);

} // namespace vantrel::geometry

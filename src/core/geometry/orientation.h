// The exact side test on which the junction search rests.
#pragma once

namespace vantrel::geometry {

struct FloatPoint {
    float x = 0, y = 0;
};

// Twice the signed area of the triangle a, b, c: (b - a) x (c - a), positive when the turn from
// a through b to c is counter-clockwise in a y-up frame. Its sign is exact for all finite inputs,
// and it is exactly 0 when, and only when, the three points are collinear; its magnitude is
// correct to a few units in the last place.
double Orientation(FloatPoint a, FloatPoint b, FloatPoint c);

} // namespace vantrel::geometry

// Map and layout units: twips, 15 to a screen pixel.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

namespace vantrel {

inline constexpr double kTwipsPerPixel = 15.0;
// How far out map coordinates can be drawn: 2^28 pixels, four times the widest map a picture
// allows and far within the integers to which drawing rounds points.
inline constexpr double kMaxDrawableTwips = kTwipsPerPixel * (1 << 28);

inline int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline double PixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

inline QRect TwipsRect(double left, double top, double width, double height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

} // namespace vantrel

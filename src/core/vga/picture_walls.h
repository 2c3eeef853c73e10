// Walls from a plan picture: its dark pixels are solid squares, and the walls are the outlines
// of those squares, the picture's edge included, so that the batch tool and the desktop see the
// same walls in the same picture.
#pragma once

#include "core/app/project_state.h"
#include "core/geometry/orientation.h"

#include <cstdint>
#include <vector>

namespace vantrel::vga {

// Pixels darker than this are walls.
inline constexpr int kDarkBelow = 128;

// The brightness of a pixel, 0 to 255, from its 8-bit red, green, blue and alpha: Rec. 601
// weights, rounded, of the colour laid over white.
int Luminance(int red, int green, int blue, int alpha = 255);

// Which pixels of a picture are dark, row 0 at the top.
class DarkPixels {
public:
    DarkPixels(int width, int height) : m_width(width), m_height(height) {
        m_dark.resize(static_cast<std::size_t>(width) * height, 0);
    }

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool dark(int column, int row) const {
        return m_dark[static_cast<std::size_t>(row) * m_width + column] != 0;
    }
    void setDark(int column, int row, bool dark) {
        m_dark[static_cast<std::size_t>(row) * m_width + column] = dark ? 1 : 0;
    }

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_dark;
};

// Where a picture lies: pixel (column, row), row 0 at the top, is the square of side pixelSize
// centred on (column * pixelSize, (height - 1 - row) * pixelSize), so that the bottom-left
// pixel's centre is the origin, x grows to the right and y upwards, and a grid whose spacing is a
// whole number of pixels has its points on pixel centres.
struct PicturePlacement {
    double pixelSize = 1;
    int height = 0;

    // From picture coordinates, (0, 0) at the top-left corner of the picture and one unit a
    // pixel, as a pointer gives them.
    geometry::DoublePoint fromPicture(double x, double y) const {
        return {(x - 0.5) * pixelSize, (height - y - 0.5) * pixelSize};
    }
    geometry::DoublePoint toPicture(geometry::DoublePoint point) const {
        return {point.x / pixelSize + 0.5, height - 0.5 - point.y / pixelSize};
    }
};

// The outlines of the dark squares, the area outside the picture counting as dark: every edge
// between a dark and a light pixel, joined into the longest straight pieces that meet others
// only at their ends.
std::vector<MapLine> PictureWalls(const DarkPixels& pixels, double pixelSize);

// True when the point lies in a dark square, its outline included, or outside the picture.
bool InDarkPixel(const DarkPixels& pixels, double pixelSize, geometry::DoublePoint point);

} // namespace vantrel::vga

#include "core/vga/picture_walls.h"

#include <cmath>

namespace vantrel::vga {

namespace {

// The pixel grid with the area outside the picture dark, and the places of its corners: corner
// (i, j) is the top-left corner of pixel (i, j).
class Outline {
public:
    Outline(const DarkPixels& pixels, double pixelSize) : m_pixels(pixels), m_size(pixelSize) {}

    bool dark(int column, int row) const {
        if (column < 0 || row < 0 || column >= m_pixels.width() || row >= m_pixels.height())
            return true;
        return m_pixels.dark(column, row);
    }
    double cornerX(int i) const { return (i - 0.5) * m_size; }
    double cornerY(int j) const { return (m_pixels.height() - j - 0.5) * m_size; }

    // The edge from corner (i, j) to (i + 1, j), between pixel (i, j - 1) and pixel (i, j).
    bool across(int i, int j) const { return dark(i, j - 1) != dark(i, j); }
    // The edge from corner (i, j) to (i, j + 1), between pixel (i - 1, j) and pixel (i, j).
    bool down(int i, int j) const { return dark(i - 1, j) != dark(i, j); }

private:
    const DarkPixels& m_pixels;
    double m_size;
};

} // namespace

int Luminance(int red, int green, int blue, int alpha) {
    const auto overWhite = [alpha](int channel) {
        return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
    };
    return (299 * overWhite(red) + 587 * overWhite(green) + 114 * overWhite(blue) + 500) / 1000;
}

std::vector<MapLine> PictureWalls(const DarkPixels& pixels, double pixelSize) {
    const Outline outline(pixels, pixelSize);
    const int width = pixels.width(), height = pixels.height();
    std::vector<MapLine> walls;
    // A run of edges goes on through a corner unless an edge across it meets the corner there.
    for (int j = 0; j <= height; ++j) {
        for (int i = 0; i < width; ++i) {
            if (!outline.across(i, j))
                continue;
            const int first = i;
            while (i + 1 < width && outline.across(i + 1, j) && !outline.down(i + 1, j - 1) &&
                   !outline.down(i + 1, j))
                ++i;
            walls.push_back({outline.cornerX(first), outline.cornerY(j), outline.cornerX(i + 1),
                             outline.cornerY(j)});
        }
    }
    for (int i = 0; i <= width; ++i) {
        for (int j = 0; j < height; ++j) {
            if (!outline.down(i, j))
                continue;
            const int first = j;
            while (j + 1 < height && outline.down(i, j + 1) && !outline.across(i - 1, j + 1) &&
                   !outline.across(i, j + 1))
                ++j;
            walls.push_back({outline.cornerX(i), outline.cornerY(first), outline.cornerX(i),
                             outline.cornerY(j + 1)});
        }
    }
    return walls;
}

bool InDarkPixel(const DarkPixels& pixels, double pixelSize, geometry::DoublePoint point) {
    const Outline outline(pixels, pixelSize);
    const double column = std::floor(point.x / pixelSize + 0.5);
    const double row = std::floor(pixels.height() - 0.5 - point.y / pixelSize + 0.5);
    if (!std::isfinite(column) || !std::isfinite(row) || std::fabs(column) > 1e9 ||
        std::fabs(row) > 1e9)
        return true;
    const int i0 = static_cast<int>(column), j0 = static_cast<int>(row);
    // The point may lie on the outline of a neighbour too.
    for (int i = i0 - 1; i <= i0 + 1; ++i) {
        for (int j = j0 - 1; j <= j0 + 1; ++j) {
            const bool inside = point.x >= outline.cornerX(i) &&
                                point.x <= outline.cornerX(i + 1) &&
                                point.y <= outline.cornerY(j) && point.y >= outline.cornerY(j + 1);
            if (inside && outline.dark(i, j))
                return true;
        }
    }
    return false;
}

} // namespace vantrel::vga

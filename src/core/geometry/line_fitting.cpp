#include "core/geometry/line_fitting.h"

#include <algorithm>
#include <limits>

namespace vantrel::geometry {

namespace {

constexpr double kMargin = 0.05;

struct Extent {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    void add(double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
};

// How far a length may grow to fill `room`; unlimited for a length of 0.
double Room(double room, double length) {
    return length > 0 ? room / length : std::numeric_limits<double>::infinity();
}

} // namespace

double FitLinesToWindow(std::vector<MapLine>& lines, double width, double height) {
    Extent extent;
    for (const MapLine& line : lines) {
        extent.add(line.x1, line.y1);
        extent.add(line.x2, line.y2);
    }
    if (lines.empty() ||
        (extent.minX >= 0 && extent.maxX <= width && extent.minY >= 0 && extent.maxY <= height))
        return 1.0;
    const double extentX = extent.maxX - extent.minX;
    const double extentY = extent.maxY - extent.minY;
    double scale = std::min(Room(width * (1 - 2 * kMargin), extentX),
                            Room(height * (1 - 2 * kMargin), extentY));
    if (scale == std::numeric_limits<double>::infinity())
        scale = 1.0;
    const double left = (width - extentX * scale) / 2;
    const double top = (height - extentY * scale) / 2;
    const auto x = [&](double value) { return left + (value - extent.minX) * scale; };
    // A GIS counts y northwards, the map window downwards: turned over, north is up.
    const auto y = [&](double value) { return top + (extent.maxY - value) * scale; };
    for (MapLine& line : lines)
        line = {x(line.x1), y(line.y1), x(line.x2), y(line.y2)};
    return scale;
}

} // namespace vantrel::geometry

#include "core/geometry/intersections.h"

#include "core/geometry/line_grid.h"
#include "core/geometry/orientation.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vantrel::geometry {

namespace {

bool CanDecide(const AxialLine& line) {
    return std::isfinite(line.x1) && std::isfinite(line.y1) && std::isfinite(line.x2) &&
           std::isfinite(line.y2);
}

bool CanDecide(const MapLine& line) {
    return IsExactCoordinate(line.x1) && IsExactCoordinate(line.y1) && IsExactCoordinate(line.x2) &&
           IsExactCoordinate(line.y2);
}

template <class Line> bool BoxesOverlap(const Line& a, const Line& b) {
    return std::max(a.x1, a.x2) >= std::min(b.x1, b.x2) &&
           std::max(b.x1, b.x2) >= std::min(a.x1, a.x2) &&
           std::max(a.y1, a.y2) >= std::min(b.y1, b.y2) &&
           std::max(b.y1, b.y2) >= std::min(a.y1, a.y2);
}

// Whether two side values put two ends strictly on one side, or both on the line.
bool MissesOrLiesAlong(double sideA, double sideB) {
    return (sideA > 0 && sideB > 0) || (sideA < 0 && sideB < 0) || (sideA == 0 && sideB == 0);
}

Junction MakeJunction(int firstIndex, int secondIndex, Crossing crossing) {
    return {static_cast<float>(firstIndex + 1), static_cast<float>(secondIndex + 1), crossing.x,
            crossing.y};
}

// The crossing point in double precision, for lines of floats or of doubles alike.
// With d1 = p2 - p1, d2 = p4 - p3, e = p3 - p1 and det = d2 x d1, the positions along the lines
// are s = (d2 x e) / det and t = (d1 x e) / det. In side values, s = o1 / (o1 - o2) and
// 1 - s = -o2 / (o1 - o2), where o1 and o2 are the sides of p1 and p2 relative to the second
// line; likewise t with the sides of p3 and p4. So 0 <= s <= 1 holds exactly when p1 and p2 are
// not strictly on one side of the second line, and then det is 0 only when both lie on it.
// Deciding by exact signs instead of rounded quotients keeps touching ends exact: a rounded s or
// t can turn a near miss into a touch, and a touch into a miss.
// Numerical caveat: the point is rounded (to double, and for the desktop to float). As o1 and -o2
// share a sign, s lies within 0..1 and is exactly 0 or 1 when an end of the first line lies on the
// second, so an L or a T whose stem is the first line gets the end point itself; a T whose stem is
// the second line gets the point along the first, which may be a unit in the last place off the
// stem's end.
template <class Line, class Point>
std::optional<MapCrossing> CrossingOf(const Line& first, const Line& second) {
    if (!CanDecide(first) || !CanDecide(second) || !BoxesOverlap(first, second))
        return std::nullopt;
    const Point p1{first.x1, first.y1}, p2{first.x2, first.y2};
    const Point p3{second.x1, second.y1}, p4{second.x2, second.y2};
    const double side1 = Orientation(p3, p4, p1);
    const double side2 = Orientation(p3, p4, p2);
    if (MissesOrLiesAlong(side1, side2))
        return std::nullopt;
    const double side3 = Orientation(p1, p2, p3);
    const double side4 = Orientation(p1, p2, p4);
    if (MissesOrLiesAlong(side3, side4))
        return std::nullopt;
    const double s = side1 / (side1 - side2);
    return MapCrossing{s * (double(first.x2) - first.x1) + first.x1,
                       s * (double(first.y2) - first.y1) + first.y1};
}

} // namespace

std::optional<Crossing> CrossLines(const AxialLine& first, const AxialLine& second) {
    const auto crossing = CrossingOf<AxialLine, FloatPoint>(first, second);
    if (!crossing)
        return std::nullopt;
    return Crossing{static_cast<float>(crossing->x), static_cast<float>(crossing->y)};
}

std::optional<MapCrossing> CrossLines(const MapLine& first, const MapLine& second) {
    return CrossingOf<MapLine, DoublePoint>(first, second);
}

JunctionSearch FindJunctions(const std::vector<AxialLine>& lines, int capacity,
                             const std::function<void(int found)>& onFound) {
    JunctionSearch search;
    const int lineCount = static_cast<int>(lines.size());
    for (int i = 0; i < lineCount; ++i) {
        for (int j = i + 1; j < lineCount; ++j) {
            const auto crossing = CrossLines(lines[i], lines[j]);
            if (!crossing)
                continue;
            const int found = static_cast<int>(search.junctions.size()) + 1;
            if (onFound)
                onFound(found);
            if (found >= capacity)
                return {{}, true};
            search.junctions.push_back(MakeJunction(i, j, *crossing));
        }
    }
    return search;
}

std::optional<MapCrossing> NearLines(const MapLine& first, const MapLine& second,
                                     double tolerance) {
    if (!(tolerance > 0))
        return std::nullopt;
    // Nearest points of two segments (Ericson, Real-Time Collision Detection, 5.1.9).
    const double px = first.x1, py = first.y1, qx = second.x1, qy = second.y1;
    const double ux = first.x2 - px, uy = first.y2 - py;
    const double vx = second.x2 - qx, vy = second.y2 - qy;
    const double wx = px - qx, wy = py - qy;
    const double a = ux * ux + uy * uy, e = vx * vx + vy * vy;
    if (!(a > 0) || !(e > 0) || !std::isfinite(a + e + wx + wy))
        return std::nullopt;
    const double b = ux * vx + uy * vy, c = ux * wx + uy * wy, f = vx * wx + vy * wy;
    const double denominator = a * e - b * b;
    // Parallel lines (overlapping or not) are measured from the first line's start.
    double s = denominator > 0 ? std::clamp((b * f - c * e) / denominator, 0.0, 1.0) : 0.0;
    double t = (b * s + f) / e;
    if (t < 0) {
        t = 0;
        s = std::clamp(-c / a, 0.0, 1.0);
    } else if (t > 1) {
        t = 1;
        s = std::clamp((b - c) / a, 0.0, 1.0);
    }
    const double nearX = px + s * ux, nearY = py + s * uy;
    const double otherX = qx + t * vx, otherY = qy + t * vy;
    if (std::hypot(nearX - otherX, nearY - otherY) > tolerance)
        return std::nullopt;
    return MapCrossing{(nearX + otherX) / 2, (nearY + otherY) / 2};
}

std::vector<MapJunction> FindAllJunctions(const std::vector<MapLine>& lines, Progress& progress) {
    return FindJunctionsWithin(lines, 0, progress).junctions;
}

NearJunctions FindJunctionsWithin(const std::vector<MapLine>& lines, double tolerance,
                                  Progress& progress) {
    const int lineCount = static_cast<int>(lines.size());
    const int reportEvery = std::max(1, lineCount / 100);
    progress.start(lineCount);
    const LineGrid grid(lines, tolerance);
    // A pair is offered from either of its lines, so the junctions are put in order at the end.
    std::vector<std::pair<std::pair<int, int>, MapCrossing>> found;
    int nearOnly = 0;
    for (int i = 0; i < lineCount; ++i) {
        grid.forEachNear(i, [&](int j) {
            const MapLine& first = lines[std::min(i, j)];
            const MapLine& second = lines[std::max(i, j)];
            auto crossing = CrossLines(first, second);
            if (!crossing && (crossing = NearLines(first, second, tolerance)))
                ++nearOnly;
            if (crossing)
                found.push_back({{std::min(i, j), std::max(i, j)}, *crossing});
        });
        if ((i + 1) % reportEvery == 0 || i + 1 == lineCount)
            progress.advance(i + 1);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<MapJunction> junctions;
    junctions.reserve(found.size());
    for (const auto& [pair, crossing] : found)
        junctions.push_back({pair.first + 1, pair.second + 1, crossing.x, crossing.y});
    progress.finish();
    return {std::move(junctions), nearOnly};
}

std::vector<MapJunction> FindAllJunctions(const std::vector<MapLine>& lines) {
    NoProgress quiet;
    return FindAllJunctions(lines, quiet);
}

} // namespace vantrel::geometry

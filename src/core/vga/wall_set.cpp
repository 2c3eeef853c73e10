#include "core/vga/wall_set.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::vga {

namespace {

using geometry::Orientation;

int Sign(double value) {
    return (value > 0) - (value < 0);
}

DoublePoint Start(const MapLine& line) {
    return {line.x1, line.y1};
}
DoublePoint End(const MapLine& line) {
    return {line.x2, line.y2};
}

bool Usable(const MapLine& line) {
    for (const double value : {line.x1, line.y1, line.x2, line.y2})
        if (!std::isfinite(value) || !geometry::IsExactCoordinate(value))
            return false;
    return line.x1 != line.x2 || line.y1 != line.y2;
}

Extent ExtentOf(std::span<const MapLine> lines) {
    Extent extent{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                  std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
    for (const MapLine& line : lines) {
        extent.minX = std::min({extent.minX, line.x1, line.x2});
        extent.minY = std::min({extent.minY, line.y1, line.y2});
        extent.maxX = std::max({extent.maxX, line.x1, line.x2});
        extent.maxY = std::max({extent.maxY, line.y1, line.y2});
    }
    return lines.empty() ? Extent{} : extent;
}

// Bins of about two walls' worth a side, so that a query looks at a few walls per bin.
double BinSizeFor(std::span<const MapLine> lines, const Extent& extent) {
    const double side = std::max(extent.width(), extent.height());
    const double perSide =
        std::clamp(2.0 * std::sqrt(static_cast<double>(lines.size())), 1.0, 1024.0);
    return side > 0 ? side / perSide : 1.0;
}

struct Cut {
    double along;
    DoublePoint point;
};

double Along(const MapLine& line, DoublePoint point) {
    const double dx = line.x2 - line.x1, dy = line.y2 - line.y1;
    return ((point.x - line.x1) * dx + (point.y - line.y1) * dy) / (dx * dx + dy * dy);
}

// Where two walls that are not collinear meet, the point each must be cut at: an end of one that
// lies on the other is taken exactly, a crossing is computed once for both.
void AddCuts(const MapLine& first, const MapLine& second, std::vector<Cut>& firstCuts,
             std::vector<Cut>& secondCuts) {
    const DoublePoint a = Start(first), b = End(first), c = Start(second), d = End(second);
    const int ac = Sign(Orientation(a, b, c)), ad = Sign(Orientation(a, b, d));
    const int ca = Sign(Orientation(c, d, a)), cb = Sign(Orientation(c, d, b));
    if ((ac == 0 && ad == 0) || ac * ad > 0 || ca * cb > 0)
        return;
    if (ac == 0 || ad == 0) {
        const DoublePoint end = ac == 0 ? c : d;
        firstCuts.push_back({Along(first, end), end});
        return;
    }
    if (ca == 0 || cb == 0) {
        const DoublePoint end = ca == 0 ? a : b;
        secondCuts.push_back({Along(second, end), end});
        return;
    }
    const double ex = b.x - a.x, ey = b.y - a.y, fx = d.x - c.x, fy = d.y - c.y;
    const double t = ((c.x - a.x) * fy - (c.y - a.y) * fx) / (ex * fy - ey * fx);
    const DoublePoint crossing{a.x + t * ex, a.y + t * ey};
    firstCuts.push_back({t, crossing});
    secondCuts.push_back({Along(second, crossing), crossing});
}

} // namespace

bool SegmentsMeet(DoublePoint p, DoublePoint q, DoublePoint a, DoublePoint b) {
    if (p.x == q.x && p.y == q.y) {
        return Orientation(a, b, p) == 0 && std::min(a.x, b.x) <= p.x &&
               p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
    }
    const int pa = Sign(Orientation(p, q, a)), pb = Sign(Orientation(p, q, b));
    if (pa * pb > 0)
        return false;
    if (pa == 0 && pb == 0) {
        // Collinear: the segments meet when their spans along the line overlap.
        const bool byX = std::fabs(q.x - p.x) + std::fabs(b.x - a.x) >=
                         std::fabs(q.y - p.y) + std::fabs(b.y - a.y);
        const auto span = [byX](DoublePoint s, DoublePoint t) {
            const double u = byX ? s.x : s.y, v = byX ? t.x : t.y;
            return std::pair(std::min(u, v), std::max(u, v));
        };
        const auto [lo1, hi1] = span(p, q);
        const auto [lo2, hi2] = span(a, b);
        return lo1 <= hi2 && lo2 <= hi1;
    }
    const int ap = Sign(Orientation(a, b, p)), aq = Sign(Orientation(a, b, q));
    return ap * aq <= 0;
}

SegmentBins::SegmentBins(std::span<const MapLine> segments, const Extent& extent, double binSize)
    : m_originX(extent.minX), m_originY(extent.minY), m_binSize(binSize) {
    m_columns = static_cast<int>(std::floor(extent.width() / binSize)) + 1;
    m_rows = static_cast<int>(std::floor(extent.height() / binSize)) + 1;
    std::vector<std::int64_t> counts(static_cast<std::size_t>(m_columns) * m_rows + 1, 0);
    const auto forEachBin = [&](auto&& use) {
        for (std::size_t index = 0; index < segments.size(); ++index) {
            const MapLine& line = segments[index];
            binsAlong(Start(line), End(line), [&](int column, int row) {
                use(static_cast<std::size_t>(row) * m_columns + column,
                    static_cast<std::int32_t>(index));
            });
        }
    };
    forEachBin([&](std::size_t bin, std::int32_t) { ++counts[bin + 1]; });
    for (std::size_t bin = 1; bin < counts.size(); ++bin)
        counts[bin] += counts[bin - 1];
    m_starts = counts;
    m_members.resize(static_cast<std::size_t>(counts.back()));
    forEachBin([&](std::size_t bin, std::int32_t segment) { m_members[counts[bin]++] = segment; });
}

int SegmentBins::columnOf(double x) const {
    return std::clamp(static_cast<int>(std::floor((x - m_originX) / m_binSize)), 0, m_columns - 1);
}

int SegmentBins::rowOf(double y) const {
    return std::clamp(static_cast<int>(std::floor((y - m_originY) / m_binSize)), 0, m_rows - 1);
}

std::span<const std::int32_t> SegmentBins::in(int column, int row) const {
    const std::size_t bin = static_cast<std::size_t>(row) * m_columns + column;
    return {m_members.data() + m_starts[bin],
            static_cast<std::size_t>(m_starts[bin + 1] - m_starts[bin])};
}

WallSet::WallSet(std::vector<MapLine> walls) {
    walls.erase(std::remove_if(walls.begin(), walls.end(),
                               [](const MapLine& line) { return !Usable(line); }),
                walls.end());
    m_walls = std::move(walls);
    m_extent = ExtentOf(m_walls);
    if (m_walls.empty())
        return;
    m_wallBins = SegmentBins(m_walls, m_extent, BinSizeFor(m_walls, m_extent));

    std::vector<std::vector<Cut>> cuts(m_walls.size());
    std::vector<std::size_t> lastSeen(m_walls.size(), m_walls.size());
    for (std::size_t i = 0; i < m_walls.size(); ++i) {
        m_wallBins.alongSegment(Start(m_walls[i]), End(m_walls[i]), [&](std::int32_t j) {
            const auto other = static_cast<std::size_t>(j);
            if (other <= i || lastSeen[other] == i)
                return;
            lastSeen[other] = i;
            AddCuts(m_walls[i], m_walls[other], cuts[i], cuts[other]);
        });
    }
    for (std::size_t i = 0; i < m_walls.size(); ++i) {
        std::vector<Cut>& wallCuts = cuts[i];
        std::sort(wallCuts.begin(), wallCuts.end(),
                  [](const Cut& a, const Cut& b) { return a.along < b.along; });
        DoublePoint from = Start(m_walls[i]);
        for (const Cut& cut : wallCuts) {
            if ((cut.point.x == from.x && cut.point.y == from.y) ||
                (cut.point.x == m_walls[i].x2 && cut.point.y == m_walls[i].y2))
                continue;
            m_pieces.push_back({from.x, from.y, cut.point.x, cut.point.y});
            from = cut.point;
        }
        m_pieces.push_back({from.x, from.y, m_walls[i].x2, m_walls[i].y2});
    }
}

bool WallSet::blocks(DoublePoint p, DoublePoint q) const {
    bool met = false;
    m_wallBins.alongSegment(p, q, [&](std::int32_t wall) {
        if (!met) {
            const MapLine& line = m_walls[static_cast<std::size_t>(wall)];
            met = SegmentsMeet(p, q, Start(line), End(line));
        }
    });
    return met;
}

} // namespace vantrel::vga

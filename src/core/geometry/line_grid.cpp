#include "core/geometry/line_grid.h"

#include "core/geometry/orientation.h"

#include <algorithm>
#include <cmath>

namespace vantrel::geometry {

namespace {

// With a reach, lines are related by a test rounded at their coordinates' scale; their boxes are
// widened by this much of their largest coordinate besides the half reach.
constexpr double kRelativeMargin = 0x1p-40;
// Cell indices are kept well inside 64 bits; beyond, far cells share an index, which costs
// candidates but never loses one.
constexpr double kIndexLimit = 0x1p60;

bool CanCross(const MapLine& line) {
    for (const double value : {line.x1, line.y1, line.x2, line.y2})
        if (!(std::fabs(value) <= kMaxExactCoordinate))
            return false;
    return line.x1 != line.x2 || line.y1 != line.y2;
}

double Extent(const MapLine& line) {
    return std::max(std::fabs(line.x2 - line.x1), std::fabs(line.y2 - line.y1));
}

std::uint64_t Mix(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    return value;
}

// Not symmetric in column and row, so that the cells of a diagonal do not share codes.
std::uint64_t CellCode(std::int64_t column, std::int64_t row, int level) {
    constexpr std::uint64_t kOdd = 0x9e3779b97f4a7c15ULL;
    const std::uint64_t mixedRow =
        Mix(static_cast<std::uint64_t>(row) + kOdd * static_cast<std::uint64_t>(level));
    return Mix(static_cast<std::uint64_t>(column) + kOdd * mixedRow);
}

} // namespace

LineGrid::LineGrid(const std::vector<MapLine>& lines, double reach)
    : m_lines(lines), m_halfReach(reach / 2), m_levelOf(lines.size(), -1),
      m_lastOffered(lines.size(), -1) {
    std::vector<double> extents;
    for (const MapLine& line : lines) {
        if (CanCross(line))
            extents.push_back(Extent(line) + reach);
    }
    if (extents.empty())
        return;
    // The median, unlike the mean, is not moved by a few very long lines. Twice the median puts
    // most lines in a cell or two of the finest grid.
    const auto middle = extents.begin() + static_cast<std::ptrdiff_t>(extents.size() / 2);
    std::nth_element(extents.begin(), middle, extents.end());
    m_finest = 2 * *middle;
    // Cell borders off the round numbers that drawn coordinates favour, so that fewer lines end on
    // a border and take the cells on both sides of it. An origin near 0 keeps every quotient as
    // exact as the line's own coordinates: one far line must not coarsen the cells of the others.
    constexpr double kBorderShift = 0.3819660112501051;
    m_origin = -kBorderShift * m_finest;

    std::vector<std::pair<std::uint64_t, int>> entries;
    for (int index = 0; index < static_cast<int>(lines.size()); ++index) {
        if (!CanCross(lines[index]))
            continue;
        const Box box = boxOf(lines[index]);
        const double extent = std::max(box.maxX - box.minX, box.maxY - box.minY);
        int level = 0;
        while (extent > cellSize(level))
            ++level;
        // Rounding can spread a box over a third column or row; a coarser grid takes it in two.
        const auto fits = [&](int at) {
            const Span columns = spanOf(box.minX, box.maxX, at);
            const Span rows = spanOf(box.minY, box.maxY, at);
            return columns.last - columns.first <= 1 && rows.last - rows.first <= 1;
        };
        while (!fits(level))
            ++level;
        m_levelOf[index] = level;
        cellsAt(lines[index], level, m_cells);
        for (const std::uint64_t cell : m_cells)
            entries.emplace_back(cell, index);
        m_levels.push_back(level);
    }
    std::sort(m_levels.begin(), m_levels.end());
    m_levels.erase(std::unique(m_levels.begin(), m_levels.end()), m_levels.end());
    std::sort(entries.begin(), entries.end());
    m_cellLines.reserve(entries.size());
    for (std::size_t at = 0; at < entries.size(); ++at) {
        if (at == 0 || entries[at].first != entries[at - 1].first) {
            m_cellCodes.push_back(entries[at].first);
            m_cellStarts.push_back(static_cast<int>(at));
        }
        m_cellLines.push_back(entries[at].second);
    }
    m_cellStarts.push_back(static_cast<int>(entries.size()));
}

double LineGrid::cellSize(int level) const {
    return std::ldexp(m_finest, level);
}

LineGrid::Box LineGrid::boxOf(const MapLine& line) const {
    double margin = 0;
    if (m_halfReach > 0) {
        const double magnitude = std::max(
            {std::fabs(line.x1), std::fabs(line.x2), std::fabs(line.y1), std::fabs(line.y2)});
        margin = m_halfReach + kRelativeMargin * (magnitude + m_halfReach);
    }
    return {std::min(line.x1, line.x2) - margin, std::min(line.y1, line.y2) - margin,
            std::max(line.x1, line.x2) + margin, std::max(line.y1, line.y2) + margin};
}

// A coordinate's cell is floor((coordinate - origin) / cell), each step rounded: never smaller
// for a larger coordinate, so a point of a box is in a column between the box's first and last.
// Cells double from grid to grid, so a coarser grid's quotient is exactly half the finer one's
// and a box never spreads over more columns there.
LineGrid::Span LineGrid::spanOf(double low, double high, int level) const {
    const double cell = cellSize(level);
    const auto index = [&](double value) {
        return static_cast<std::int64_t>(
            std::clamp(std::floor((value - m_origin) / cell), -kIndexLimit, kIndexLimit));
    };
    return {index(low), index(high)};
}

void LineGrid::cellsAt(const MapLine& line, int level, std::vector<std::uint64_t>& cells) const {
    cells.clear();
    const Box box = boxOf(line);
    const Span columns = spanOf(box.minX, box.maxX, level);
    const Span rows = spanOf(box.minY, box.maxY, level);
    for (std::int64_t c = columns.first; c <= columns.last; ++c)
        for (std::int64_t r = rows.first; r <= rows.last; ++r)
            cells.push_back(CellCode(c, r, level));
}

std::span<const int> LineGrid::linesIn(std::uint64_t cell) const {
    const auto found = std::lower_bound(m_cellCodes.begin(), m_cellCodes.end(), cell);
    if (found == m_cellCodes.end() || *found != cell)
        return {};
    const auto at = found - m_cellCodes.begin();
    return std::span(m_cellLines)
        .subspan(m_cellStarts[at], m_cellStarts[at + 1] - m_cellStarts[at]);
}

} // namespace vantrel::geometry

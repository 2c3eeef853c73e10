#include "core/geometry/line_grid.h"

#include "core/geometry/orientation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::geometry {

namespace {

// The margin, relative to the line's largest coordinate, covers the rounding of the cell arithmetic
// (a few units of 2^-53) many times over while adding cells only at exact borders.
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
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    std::vector<double> extents;
    for (const MapLine& line : lines) {
        if (!CanCross(line))
            continue;
        minX = std::min({minX, line.x1, line.x2});
        minY = std::min({minY, line.y1, line.y2});
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
    // a border and take the cells on both sides of it.
    constexpr double kBorderShift = 0.3819660112501051;
    m_originX = minX - kBorderShift * m_finest;
    m_originY = minY - kBorderShift * m_finest;

    std::vector<std::pair<std::uint64_t, int>> entries;
    for (int index = 0; index < static_cast<int>(lines.size()); ++index) {
        if (!CanCross(lines[index]))
            continue;
        const double extent = Extent(lines[index]) + reach;
        int level = 0;
        while (extent > cellSize(level))
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

std::int64_t LineGrid::cellIndex(double offset, double cell) const {
    return static_cast<std::int64_t>(
        std::clamp(std::floor(offset / cell), -kIndexLimit, kIndexLimit));
}

// Column by column, the rows the line passes through within that column's width. A line is at
// most one cell long in its own grid and in every coarser one, so this is a handful of cells.
void LineGrid::cellsAt(const MapLine& line, int level, std::vector<std::uint64_t>& cells) const {
    cells.clear();
    const double cell = cellSize(level);
    // Relative to this line's own coordinates: one far line must not widen every other.
    const double magnitude =
        std::max({std::fabs(line.x1), std::fabs(line.x2), std::fabs(line.y1), std::fabs(line.y2),
                  std::fabs(m_originX), std::fabs(m_originY)});
    const double margin = kRelativeMargin * (magnitude + cell) + m_halfReach;
    const double x1 = line.x1, y1 = line.y1, x2 = line.x2, y2 = line.y2;
    const double minX = std::min(x1, x2), maxX = std::max(x1, x2);
    const double minY = std::min(y1, y2), maxY = std::max(y1, y2);
    const std::int64_t firstColumn = cellIndex(minX - margin - m_originX, cell);
    const std::int64_t lastColumn = cellIndex(maxX + margin - m_originX, cell);
    const bool sloped = firstColumn != lastColumn && x1 != x2;
    const double slope = sloped ? (y2 - y1) / (x2 - x1) : 0;
    for (std::int64_t c = firstColumn; c <= lastColumn; ++c) {
        double low = minY, high = maxY;
        if (sloped) {
            const double left = std::max(minX, m_originX + double(c) * cell - margin);
            const double right = std::min(maxX, m_originX + double(c + 1) * cell + margin);
            const double yLeft = y1 + (left - x1) * slope;
            const double yRight = y1 + (right - x1) * slope;
            // A near-vertical line can overflow the slope; it then takes its whole height.
            if (std::isfinite(yLeft) && std::isfinite(yRight)) {
                low = std::max(minY, std::min(yLeft, yRight));
                high = std::min(maxY, std::max(yLeft, yRight));
            }
        }
        const std::int64_t lastRow = cellIndex(high + margin - m_originY, cell);
        for (std::int64_t r = cellIndex(low - margin - m_originY, cell); r <= lastRow; ++r)
            cells.push_back(CellCode(c, r, level));
    }
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

#include "core/geometry/line_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::geometry {

namespace {

// Cells per line at most; enough for short streets, small enough to keep memory linear.
constexpr double kCellsPerLine = 4.0;
// The margin, relative to the largest coordinate, covers the rounding of the cell arithmetic
// (a few units of 2^-53) many times over while adding cells only at exact borders.
constexpr double kRelativeMargin = 0x1p-40;

bool CanCross(const AxialLine& line) {
    const bool finite = std::isfinite(line.x1) && std::isfinite(line.y1) &&
                        std::isfinite(line.x2) && std::isfinite(line.y2);
    return finite && (line.x1 != line.x2 || line.y1 != line.y2);
}

int CellIndex(double offset, double cell, int count) {
    const double index = std::floor(offset / cell);
    return static_cast<int>(std::clamp(index, 0.0, static_cast<double>(count - 1)));
}

} // namespace

LineGrid::LineGrid(const std::vector<AxialLine>& lines) {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    double extentSum = 0, magnitude = 0;
    int crossable = 0;
    for (const AxialLine& line : lines) {
        if (!CanCross(line))
            continue;
        ++crossable;
        minX = std::min({minX, double(line.x1), double(line.x2)});
        maxX = std::max({maxX, double(line.x1), double(line.x2)});
        minY = std::min({minY, double(line.y1), double(line.y2)});
        maxY = std::max({maxY, double(line.y1), double(line.y2)});
        extentSum +=
            std::max(std::fabs(double(line.x2) - line.x1), std::fabs(double(line.y2) - line.y1));
        magnitude = std::max({magnitude, std::fabs(double(line.x1)), std::fabs(double(line.x2)),
                              std::fabs(double(line.y1)), std::fabs(double(line.y2))});
    }
    if (crossable > 0) {
        m_originX = minX;
        m_originY = minY;
        m_cell = extentSum / crossable;
        const double cellLimit = kCellsPerLine * crossable + 16;
        while (true) {
            const double columns = std::floor((maxX - minX) / m_cell) + 1;
            const double rows = std::floor((maxY - minY) / m_cell) + 1;
            if (columns * rows <= cellLimit) {
                m_columns = static_cast<int>(columns);
                m_rows = static_cast<int>(rows);
                break;
            }
            m_cell *= 1.25;
        }
        m_margin = kRelativeMargin * (magnitude + m_cell);
    }

    m_lineOffsets.reserve(lines.size() + 1);
    m_lineOffsets.push_back(0);
    for (const AxialLine& line : lines) {
        if (CanCross(line))
            enterLine(line);
        m_lineOffsets.push_back(static_cast<int>(m_lineCells.size()));
    }

    // Invert to cell -> lines; filling in line order keeps each cell's lines ascending.
    m_cellOffsets.assign(static_cast<std::size_t>(m_columns) * m_rows + 1, 0);
    for (const int cell : m_lineCells)
        ++m_cellOffsets[cell + 1];
    for (std::size_t cell = 1; cell < m_cellOffsets.size(); ++cell)
        m_cellOffsets[cell] += m_cellOffsets[cell - 1];
    m_cellLines.resize(m_lineCells.size());
    std::vector<int> next(m_cellOffsets.begin(), m_cellOffsets.end() - 1);
    for (int index = 0; index + 1 < static_cast<int>(m_lineOffsets.size()); ++index)
        for (const int cell : cellsOf(index))
            m_cellLines[next[cell]++] = index;
}

std::span<const int> LineGrid::cellsOf(int lineIndex) const {
    return std::span(m_lineCells)
        .subspan(m_lineOffsets[lineIndex], m_lineOffsets[lineIndex + 1] - m_lineOffsets[lineIndex]);
}

std::span<const int> LineGrid::linesIn(int cell) const {
    return std::span(m_cellLines)
        .subspan(m_cellOffsets[cell], m_cellOffsets[cell + 1] - m_cellOffsets[cell]);
}

int LineGrid::column(double x) const {
    return CellIndex(x - m_originX, m_cell, m_columns);
}

int LineGrid::row(double y) const {
    return CellIndex(y - m_originY, m_cell, m_rows);
}

// Column by column, the rows the line passes through within that column's width.
void LineGrid::enterLine(const AxialLine& line) {
    const double x1 = line.x1, y1 = line.y1, x2 = line.x2, y2 = line.y2;
    const double minX = std::min(x1, x2), maxX = std::max(x1, x2);
    const double minY = std::min(y1, y2), maxY = std::max(y1, y2);
    const int firstColumn = column(minX - m_margin);
    const int lastColumn = column(maxX + m_margin);
    const bool sloped = firstColumn != lastColumn && x1 != x2;
    const double slope = sloped ? (y2 - y1) / (x2 - x1) : 0;
    for (int c = firstColumn; c <= lastColumn; ++c) {
        double low = minY, high = maxY;
        if (sloped) {
            const double left = std::max(minX, m_originX + c * m_cell - m_margin);
            const double right = std::min(maxX, m_originX + (c + 1) * m_cell + m_margin);
            const double yLeft = y1 + (left - x1) * slope;
            const double yRight = y1 + (right - x1) * slope;
            // A near-vertical line can overflow the slope; it then takes its whole height.
            if (std::isfinite(yLeft) && std::isfinite(yRight)) {
                low = std::max(minY, std::min(yLeft, yRight));
                high = std::min(maxY, std::max(yLeft, yRight));
            }
        }
        const int lastRow = row(high + m_margin);
        for (int r = row(low - m_margin); r <= lastRow; ++r)
            m_lineCells.push_back(r * m_columns + c);
    }
}

} // namespace vantrel::geometry

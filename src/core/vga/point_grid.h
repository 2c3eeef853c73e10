// The points of a visibility graph analysis: a square grid over the walls, its cells filled
// from one or more fill points through the open space.
#pragma once

#include "core/vga/wall_set.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace vantrel::vga {

// Cell (column, row) is the square of side `spacing` centred on its point; the points lie at
// whole multiples of the spacing, and the grid holds every such point whose square reaches the
// extent. Filled cells are numbered row by row, bottom row first, left to right, from 0.
class PointGrid {
public:
    PointGrid() = default;
    PointGrid(const Extent& extent, double spacing);

    // How many cells a grid over the extent would have, computed without making it.
    static double CellCount(const Extent& extent, double spacing);

    double spacing() const { return m_spacing; }
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    std::int64_t firstColumn() const { return m_firstColumn; }
    std::int64_t firstRow() const { return m_firstRow; }
    double columnX(int column) const {
        return static_cast<double>(m_firstColumn + column) * m_spacing;
    }
    double rowY(int row) const { return static_cast<double>(m_firstRow + row) * m_spacing; }
    DoublePoint centre(int column, int row) const { return {columnX(column), rowY(row)}; }
    // The cell a point lies in; a point on a border between cells is in the one right of it or
    // above it. Nothing for a point outside the grid.
    std::optional<std::pair<int, int>> cellAt(DoublePoint point) const;

    int pointCount() const { return static_cast<int>(m_columnOf.size()); }
    // The point of a cell, -1 when the cell is not filled.
    std::int32_t pointAt(int column, int row) const {
        return m_pointOfCell[static_cast<std::size_t>(row) * m_columns + column];
    }
    int columnOf(int point) const { return m_columnOf[static_cast<std::size_t>(point)]; }
    int rowOf(int point) const { return m_rowOf[static_cast<std::size_t>(point)]; }
    DoublePoint location(int point) const { return centre(columnOf(point), rowOf(point)); }
    // The first filled point of the row at or right of the column, and the last at or left of
    // it; -1 when there is none.
    std::int32_t firstFrom(int column, int row) const;
    std::int32_t lastUpTo(int column, int row) const;

    // Numbers the filled cells; `filled` has one entry per cell, row by row.
    void setFilled(const std::vector<std::uint8_t>& filled);

private:
    double m_spacing = 1;
    std::int64_t m_firstColumn = 0, m_firstRow = 0;
    int m_columns = 0, m_rows = 0;
    std::vector<std::int32_t> m_pointOfCell;
    std::vector<std::int32_t> m_firstFrom;
    std::vector<std::int32_t> m_lastUpTo;
    std::vector<std::int32_t> m_columnOf;
    std::vector<std::int32_t> m_rowOf;
};

enum class FillFault {
    // The fill point lies outside the walls' extent.
    OutsideExtent,
    // The fill point lies on a wall, or in a dark pixel of a plan picture.
    InWall,
    // The centre of the fill point's cell is beyond a wall from it: the space is smaller than a
    // cell.
    NoSpace,
};

struct FillRefusal {
    // Which fill point, 0-based.
    int fillIndex = 0;
    FillFault fault = FillFault::InWall;
};

// Fills the grid from each fill point: from the centre of the cell the point lies in, a step goes
// to each of the 8 neighbouring cells unless the segment between the two centres meets a wall
// (touching counts). Fill points add up; one in space already filled adds nothing. `inWall` tells
// of points that are inside a solid wall though on no wall line (the dark pixels of a picture).
std::optional<FillRefusal> FillGrid(PointGrid& grid, const WallSet& walls,
                                    std::span<const DoublePoint> fillPoints,
                                    const std::function<bool(DoublePoint)>& inWall = {});

} // namespace vantrel::vga

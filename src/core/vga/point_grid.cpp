#include "core/vga/point_grid.h"

#include <cmath>
#include <deque>

namespace vantrel::vga {

namespace {

std::int64_t FirstIndex(double low, double spacing) {
    return static_cast<std::int64_t>(std::ceil((low - spacing / 2) / spacing));
}

std::int64_t LastIndex(double high, double spacing) {
    return static_cast<std::int64_t>(std::floor((high + spacing / 2) / spacing));
}

} // namespace

double PointGrid::CellCount(const Extent& extent, double spacing) {
    const double columns =
        static_cast<double>(LastIndex(extent.maxX, spacing) - FirstIndex(extent.minX, spacing) + 1);
    const double rows =
        static_cast<double>(LastIndex(extent.maxY, spacing) - FirstIndex(extent.minY, spacing) + 1);
    return columns * rows;
}

PointGrid::PointGrid(const Extent& extent, double spacing)
    : m_spacing(spacing), m_firstColumn(FirstIndex(extent.minX, spacing)),
      m_firstRow(FirstIndex(extent.minY, spacing)) {
    m_columns = static_cast<int>(LastIndex(extent.maxX, spacing) - m_firstColumn + 1);
    m_rows = static_cast<int>(LastIndex(extent.maxY, spacing) - m_firstRow + 1);
    setFilled(std::vector<std::uint8_t>(static_cast<std::size_t>(m_columns) * m_rows, 0));
}

std::optional<std::pair<int, int>> PointGrid::cellAt(DoublePoint point) const {
    const double column =
        std::floor(point.x / m_spacing + 0.5) - static_cast<double>(m_firstColumn);
    const double row = std::floor(point.y / m_spacing + 0.5) - static_cast<double>(m_firstRow);
    if (!(column >= 0 && column < m_columns && row >= 0 && row < m_rows))
        return std::nullopt;
    return std::pair(static_cast<int>(column), static_cast<int>(row));
}

std::int32_t PointGrid::firstFrom(int column, int row) const {
    return m_firstFrom[static_cast<std::size_t>(row) * m_columns + column];
}

std::int32_t PointGrid::lastUpTo(int column, int row) const {
    return m_lastUpTo[static_cast<std::size_t>(row) * m_columns + column];
}

void PointGrid::setFilled(const std::vector<std::uint8_t>& filled) {
    const std::size_t cells = filled.size();
    m_pointOfCell.assign(cells, -1);
    m_firstFrom.assign(cells, -1);
    m_lastUpTo.assign(cells, -1);
    m_columnOf.clear();
    m_rowOf.clear();
    for (int row = 0; row < m_rows; ++row) {
        const std::size_t base = static_cast<std::size_t>(row) * m_columns;
        std::int32_t last = -1;
        for (int column = 0; column < m_columns; ++column) {
            if (filled[base + column]) {
                last = static_cast<std::int32_t>(m_columnOf.size());
                m_pointOfCell[base + column] = last;
                m_columnOf.push_back(column);
                m_rowOf.push_back(row);
            }
            m_lastUpTo[base + column] = last;
        }
        std::int32_t next = -1;
        for (int column = m_columns - 1; column >= 0; --column) {
            if (m_pointOfCell[base + column] >= 0)
                next = m_pointOfCell[base + column];
            m_firstFrom[base + column] = next;
        }
    }
}

std::optional<FillRefusal> FillGrid(PointGrid& grid, const WallSet& walls,
                                    std::span<const DoublePoint> fillPoints,
                                    const std::function<bool(DoublePoint)>& inWall) {
    const int columns = grid.columns();
    std::vector<std::uint8_t> filled(static_cast<std::size_t>(columns) * grid.rows(), 0);
    std::deque<std::pair<int, int>> queue;
    for (std::size_t index = 0; index < fillPoints.size(); ++index) {
        const DoublePoint point = fillPoints[index];
        const auto refuse = [index](FillFault fault) {
            return FillRefusal{static_cast<int>(index), fault};
        };
        const auto cell = grid.cellAt(point);
        if (!walls.extent().contains(point) || !cell)
            return refuse(FillFault::OutsideExtent);
        if (walls.blocks(point, point) || (inWall && inWall(point)))
            return refuse(FillFault::InWall);
        const auto [column, row] = *cell;
        if (walls.blocks(point, grid.centre(column, row)))
            return refuse(FillFault::NoSpace);
        std::uint8_t& start = filled[static_cast<std::size_t>(row) * columns + column];
        if (!start) {
            start = 1;
            queue.emplace_back(column, row);
        }
    }
    while (!queue.empty()) {
        const auto [column, row] = queue.front();
        queue.pop_front();
        const DoublePoint from = grid.centre(column, row);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int c = column + dx, r = row + dy;
                if ((dx == 0 && dy == 0) || c < 0 || r < 0 || c >= columns || r >= grid.rows())
                    continue;
                std::uint8_t& cell = filled[static_cast<std::size_t>(r) * columns + c];
                if (cell || walls.blocks(from, grid.centre(c, r)))
                    continue;
                cell = 1;
                queue.emplace_back(c, r);
            }
        }
    }
    grid.setFilled(filled);
    return std::nullopt;
}

} // namespace vantrel::vga

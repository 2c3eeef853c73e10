#include "core/streets/segment_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::streets {

namespace {

// Cells per side at most, so that a cell index always fits in 32 bits.
constexpr double kMaxCellsAcross = 0x1p24;
constexpr std::int64_t kIndexLimit = std::int64_t{1} << 30;

} // namespace

SegmentGrid::SegmentGrid(const StreetNetwork& network, double reach) : m_network(network) {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    std::vector<double> lengths;
    for (int index = 0; index < network.segmentCount(); ++index) {
        if (!network.segment(index).alive)
            continue;
        const MapLine line = network.line(index);
        minX = std::min({minX, line.x1, line.x2});
        minY = std::min({minY, line.y1, line.y2});
        maxX = std::max({maxX, line.x1, line.x2});
        maxY = std::max({maxY, line.y1, line.y2});
        lengths.push_back(std::max(std::fabs(line.x2 - line.x1), std::fabs(line.y2 - line.y1)));
    }
    if (lengths.empty())
        return;
    const auto middle = lengths.begin() + static_cast<std::ptrdiff_t>(lengths.size() / 2);
    std::nth_element(lengths.begin(), middle, lengths.end());
    const double span = std::max(maxX - minX, maxY - minY);
    m_cell = std::max({*middle, 2 * reach, span / kMaxCellsAcross});
    if (!(m_cell > 0))
        m_cell = 1;
    const double largest =
        std::max({std::fabs(minX), std::fabs(minY), std::fabs(maxX), std::fabs(maxY)});
    m_slack = m_cell * 0x1p-20 + largest * 0x1p-40;
    // Borders off the round numbers that drawn coordinates favour.
    constexpr double kBorderShift = 0.3819660112501051;
    m_originX = minX - kBorderShift * m_cell;
    m_originY = minY - kBorderShift * m_cell;

    std::vector<std::pair<std::uint64_t, int>> entries;
    entries.reserve(static_cast<std::size_t>(network.aliveCount()) * 2);
    for (int index = 0; index < network.segmentCount(); ++index) {
        if (!network.segment(index).alive)
            continue;
        const Segment& segment = network.segment(index);
        forEachCell(network.point(segment.from), network.point(segment.to), m_slack,
                    [&](std::uint64_t code) { entries.emplace_back(code, index); });
    }
    std::sort(entries.begin(), entries.end());
    for (std::size_t at = 0; at < entries.size(); ++at) {
        if (at == 0 || entries[at].first != entries[at - 1].first) {
            m_codes.push_back(entries[at].first);
            m_starts.push_back(static_cast<int>(at));
        }
        m_items.push_back(entries[at].second);
    }
    m_starts.push_back(static_cast<int>(m_items.size()));
}

void SegmentGrid::add(int segment) {
    const Segment& added = m_network.segment(segment);
    forEachCell(m_network.point(added.from), m_network.point(added.to), m_slack,
                [&](std::uint64_t code) {
                    std::vector<int>& cell = m_added[code];
                    if (cell.empty() || cell.back() != segment)
                        cell.push_back(segment);
                });
}

std::uint64_t SegmentGrid::cellCode(std::int64_t column, std::int64_t row) const {
    return static_cast<std::uint64_t>(column + kIndexLimit) << 32 |
           static_cast<std::uint64_t>(row + kIndexLimit);
}

std::int64_t SegmentGrid::columnOf(double x) const {
    const double index = std::floor((x - m_originX) / m_cell);
    return static_cast<std::int64_t>(
        std::clamp(index, -static_cast<double>(kIndexLimit), static_cast<double>(kIndexLimit)));
}

std::int64_t SegmentGrid::rowOf(double y) const {
    const double index = std::floor((y - m_originY) / m_cell);
    return static_cast<std::int64_t>(
        std::clamp(index, -static_cast<double>(kIndexLimit), static_cast<double>(kIndexLimit)));
}

template <class Visit>
void SegmentGrid::forEachCell(DoublePoint a, DoublePoint b, double margin, Visit&& visit) const {
    const double lowX = std::min(a.x, b.x), highX = std::max(a.x, b.x);
    const std::int64_t firstColumn = columnOf(lowX - margin), lastColumn = columnOf(highX + margin);
    for (std::int64_t column = firstColumn; column <= lastColumn; ++column) {
        // The part of the segment within `margin` of this column, and its rows.
        const double left = m_originX + static_cast<double>(column) * m_cell - margin;
        const double right = left + m_cell + 2 * margin;
        double lowY = std::min(a.y, b.y), highY = std::max(a.y, b.y);
        if (a.x != b.x) {
            const double from = std::clamp(left, lowX, highX);
            const double to = std::clamp(right, lowX, highX);
            const double yFrom = a.y + (from - a.x) / (b.x - a.x) * (b.y - a.y);
            const double yTo = a.y + (to - a.x) / (b.x - a.x) * (b.y - a.y);
            lowY = std::min(yFrom, yTo);
            highY = std::max(yFrom, yTo);
        }
        const std::int64_t lastRow = rowOf(highY + margin);
        for (std::int64_t row = rowOf(lowY - margin); row <= lastRow; ++row)
            visit(cellCode(column, row));
    }
}

void SegmentGrid::collectCells(DoublePoint a, DoublePoint b, double margin) {
    m_cells.clear();
    forEachCell(a, b, margin, [this](std::uint64_t code) { m_cells.push_back(code); });
}

} // namespace vantrel::streets

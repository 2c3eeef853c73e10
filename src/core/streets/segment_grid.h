// A grid over the street map that finds the segments near a point or a segment, and takes
// segments added while the map is cleaned.
#pragma once

#include "core/streets/street_network.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vantrel::streets {

class SegmentGrid {
public:
    // Enters every alive segment. Cells are at least `reach` wide (the largest distance a caller
    // will ask about) and about the median segment length, so that a short segment takes a cell
    // or two and a long one the cells along it, not the cells of its bounding box.
    SegmentGrid(const StreetNetwork& network, double reach);

    void add(int segment);

    // Calls near(s) once for every entered segment s whose cells lie within `reach` of segment
    // a-b (of point a when a == b): every entered segment that comes within `reach` of it is among
    // them, with some farther ones. Dead segments are offered too; the caller skips them.
    template <class Near> void forEachNear(DoublePoint a, DoublePoint b, double reach, Near&& near);

private:
    std::uint64_t cellCode(std::int64_t column, std::int64_t row) const;
    std::int64_t columnOf(double x) const;
    std::int64_t rowOf(double y) const;
    // The cells within `margin` of segment a-b, a band along it.
    template <class Visit>
    void forEachCell(DoublePoint a, DoublePoint b, double margin, Visit&& visit) const;
    void collectCells(DoublePoint a, DoublePoint b, double margin);

    const StreetNetwork& m_network;
    double m_cell = 1;
    double m_originX = 0, m_originY = 0;
    // A margin far above the rounding of the cell arithmetic.
    double m_slack = 0;
    // The cells of the segments entered at construction: codes ascending, where each one's
    // segments begin, and the segments.
    std::vector<std::uint64_t> m_codes;
    std::vector<int> m_starts;
    std::vector<int> m_items;
    std::unordered_map<std::uint64_t, std::vector<int>> m_added;
    std::vector<std::uint64_t> m_cells;
    std::vector<int> m_lastOffered;
    int m_query = 0;
};

template <class Near>
void SegmentGrid::forEachNear(DoublePoint a, DoublePoint b, double reach, Near&& near) {
    collectCells(a, b, reach + m_slack);
    ++m_query;
    if (m_lastOffered.size() < static_cast<std::size_t>(m_network.segmentCount()))
        m_lastOffered.resize(m_network.segmentCount(), 0);
    const auto offer = [&](int segment) {
        if (m_lastOffered[segment] == m_query)
            return;
        m_lastOffered[segment] = m_query;
        near(segment);
    };
    for (const std::uint64_t code : m_cells) {
        const auto found = std::lower_bound(m_codes.begin(), m_codes.end(), code);
        if (found != m_codes.end() && *found == code) {
            const auto cell = found - m_codes.begin();
            for (int at = m_starts[cell]; at < m_starts[cell + 1]; ++at)
                offer(m_items[at]);
        }
        if (!m_added.empty()) {
            if (const auto extra = m_added.find(code); extra != m_added.end())
                for (const int segment : extra->second)
                    offer(segment);
        }
    }
}

} // namespace vantrel::streets

// Grids over the map that tell which lines may share a point, whatever the layout: a map with
// one stray line far away, or dense clusters far apart, costs no more than a compact one.
#pragma once

#include "core/app/project_state.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::geometry {

// Grids of doubling cell sizes, the finest twice the median line extent. A line is entered in the
// first grid whose cell is at least its extent and in which its box takes at most two columns and
// two rows; in every coarser grid it takes no more. Only cells that hold a line are stored, so
// memory grows with the lines whatever their coordinates. Two lines that share a point share a
// cell of the coarser one's grid: a line is entered in, and looks through, the cells of its box.
// The cell of a coordinate is a rounded quotient, which never decreases as the coordinate grows,
// so the cells of two boxes that share a point overlap without any margin for rounding; and as
// the grids' origin lies near 0, a cell is as fine as the coordinates of the lines in it allow,
// however far away other lines are. Lines that can cross nothing (zero length, coordinates that
// are not finite or beyond kMaxExactCoordinate) are in no cell.
class LineGrid {
public:
    // With a `reach`, lines that come within that distance of each other are offered as well.
    explicit LineGrid(const std::vector<MapLine>& lines, double reach = 0);

    // Calls near(j) once for every other line j that may share a point with line i, each pair of
    // lines being offered from one of its two lines only. One thread at a time.
    template <class Near> void forEachNear(int i, Near&& near) const;

private:
    // A line's box: its ends' extremes, widened for a reach.
    struct Box {
        double minX, minY, maxX, maxY;
    };
    // The first and last column (or row) of a box's side.
    struct Span {
        std::int64_t first, last;
    };

    double cellSize(int level) const;
    Box boxOf(const MapLine& line) const;
    Span spanOf(double low, double high, int level) const;
    // The cells of a line's box in the grid of `level`, each as a code of its grid, column and
    // row. Two cells may share a code: that only offers more lines.
    void cellsAt(const MapLine& line, int level, std::vector<std::uint64_t>& cells) const;
    // The lines in a cell.
    std::span<const int> linesIn(std::uint64_t cell) const;

    std::span<const MapLine> m_lines;
    double m_origin = 0, m_finest = 1;
    // Every line's box is widened by half the reach on every side.
    double m_halfReach = 0;
    // Per line, its grid; -1 for lines that can cross nothing.
    std::vector<int> m_levelOf;
    // The grids that hold lines, finest first.
    std::vector<int> m_levels;
    // The codes of the cells that hold lines, ascending, and where each one's lines begin.
    std::vector<std::uint64_t> m_cellCodes;
    std::vector<int> m_cellStarts;
    std::vector<int> m_cellLines;
    mutable std::vector<std::uint64_t> m_cells;
    mutable std::vector<int> m_lastOffered;
};

template <class Near> void LineGrid::forEachNear(int i, Near&& near) const {
    const int own = m_levelOf[i];
    if (own < 0)
        return;
    for (const int level : m_levels) {
        if (level < own)
            continue;
        cellsAt(m_lines[i], level, m_cells);
        for (const std::uint64_t cell : m_cells) {
            for (const int j : linesIn(cell)) {
                // In its own grid a pair is offered by its lower-numbered line.
                if (level == own && j <= i)
                    continue;
                if (m_lastOffered[j] == i)
                    continue;
                m_lastOffered[j] = i;
                near(j);
            }
        }
    }
}

} // namespace vantrel::geometry

// A uniform grid over the map that lists the lines passing through each cell.
#pragma once

#include "core/app/project_state.h"

#include <span>
#include <vector>

namespace vantrel::geometry {

// Two lines that share a point share at least one cell: a line is entered in every cell it may
// touch, widened by a margin far above the rounding of the cell arithmetic. Lines that can cross
// nothing (zero length, non-finite coordinates) are in no cell. The cell is about the mean line
// extent, enlarged when needed so that there are at most a few cells per line.
class LineGrid {
public:
    explicit LineGrid(const std::vector<AxialLine>& lines);

    std::span<const int> cellsOf(int lineIndex) const;
    // Ascending line indices.
    std::span<const int> linesIn(int cell) const;

private:
    void enterLine(const AxialLine& line);
    int column(double x) const;
    int row(double y) const;

    double m_originX = 0, m_originY = 0, m_cell = 1, m_margin = 0;
    int m_columns = 1, m_rows = 1;
    std::vector<int> m_lineOffsets, m_lineCells;
    std::vector<int> m_cellOffsets, m_cellLines;
};

} // namespace vantrel::geometry

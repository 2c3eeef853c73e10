// The lines and junctions of a map as one graph: which junctions lie on which line.
#pragma once

#include "core/app/project_state.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::analysis {

// Built once from the junction rows; both analyses search it. Indices are 0-based.
// A junction's line numbers are rounded to the nearest whole number; a number outside
// 1..lineCount names no line, and a junction whose two numbers are equal lies on one line.
class MapGraph {
public:
    MapGraph(int lineCount, const std::vector<Junction>& junctions);
    MapGraph(int lineCount, const std::vector<MapJunction>& junctions);

    int lineCount() const { return m_lineCount; }
    int junctionCount() const { return static_cast<int>(m_linesPerJunction.size()); }

    // The junctions on a line, ascending.
    std::span<const int> junctionsOn(int line) const { return slice(m_junctionsOn, line); }
    // Parallel to junctionsOn: the other line of each of those junctions, -1 when it has none.
    std::span<const int> linesAcross(int line) const { return slice(m_linesAcross, line); }
    // The lines that share a junction with a line, each once, ascending.
    std::span<const int> neighbours(int line) const {
        return {m_neighbours.data() + m_neighbourOffsets[line],
                m_neighbourOffsets[line + 1] - m_neighbourOffsets[line]};
    }
    // The distinct lines a junction lies on: none, one or two, ascending.
    std::span<const int> linesOf(int junction) const {
        return {m_junctionLines.data() + 2 * junction, m_linesPerJunction[junction]};
    }

private:
    // From each junction's two 0-based lines, -1 for none.
    MapGraph(int lineCount, const std::vector<std::array<int, 2>>& linesOfJunctions);

    std::span<const int> slice(const std::vector<int>& cells, int line) const {
        return {cells.data() + m_lineOffsets[line], m_lineOffsets[line + 1] - m_lineOffsets[line]};
    }

    int m_lineCount = 0;
    std::vector<std::size_t> m_lineOffsets;
    std::vector<int> m_junctionsOn;
    std::vector<int> m_linesAcross;
    std::vector<std::size_t> m_neighbourOffsets;
    std::vector<int> m_neighbours;
    std::vector<int> m_junctionLines; // two cells per junction, the unused ones -1
    std::vector<std::uint8_t> m_linesPerJunction;
};

} // namespace vantrel::analysis

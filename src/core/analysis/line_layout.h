// The lines of a map renumbered in clustered order, with each line's neighbours and crossings in
// that numbering.
#pragma once

#include "core/analysis/map_graph.h"

#include <cstddef>
#include <span>
#include <vector>

namespace vantrel::analysis {

// Positions are the lines' places in an order of clustered runs (LineBatches): the lines of a
// batch of sources, and the lines their searches reach together, lie near one another in memory.
class LineLayout {
public:
    LineLayout(const MapGraph& graph, std::vector<int> order);

    int lineCount() const { return static_cast<int>(m_lineAt.size()); }
    int lineAt(int position) const { return m_lineAt[position]; }
    int positionOf(int line) const { return m_positionOf[line]; }

    // The positions of the lines that share a junction with a line, each once.
    std::span<const int> neighbours(int position) const {
        return slice(m_neighbours, m_neighbourOffsets, position);
    }
    // The junctions on a line in three groups: those whose other line lies at a lower position,
    // those whose other line lies at a higher one, and those on this line alone.
    struct Crossings {
        // The other lines' positions of the first two groups, then the lone junctions' -1.
        std::span<const int> across;
        std::span<const int> junctions;
        std::size_t higherFrom;
        std::size_t loneFrom;
    };
    Crossings crossings(int position) const {
        const std::size_t begin = m_crossingOffsets[position];
        const std::size_t end = m_crossingOffsets[position + 1];
        return {{m_across.data() + begin, end - begin},
                {m_junctions.data() + begin, end - begin},
                m_higherFrom[position],
                m_loneFrom[position]};
    }

private:
    static std::span<const int> slice(const std::vector<int>& cells,
                                      const std::vector<std::size_t>& offsets, int position) {
        return {cells.data() + offsets[position], offsets[position + 1] - offsets[position]};
    }

    std::vector<int> m_lineAt;
    std::vector<int> m_positionOf;
    std::vector<std::size_t> m_neighbourOffsets{0};
    std::vector<int> m_neighbours;
    std::vector<std::size_t> m_crossingOffsets{0};
    std::vector<int> m_across;
    std::vector<int> m_junctions;
    std::vector<std::size_t> m_higherFrom;
    std::vector<std::size_t> m_loneFrom;
};

} // namespace vantrel::analysis

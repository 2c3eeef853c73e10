#include "core/analysis/line_layout.h"

#include <utility>

namespace vantrel::analysis {

LineLayout::LineLayout(const MapGraph& graph, std::vector<int> order)
    : m_lineAt(std::move(order)), m_positionOf(graph.lineCount()) {
    for (int position = 0; position < lineCount(); ++position)
        m_positionOf[m_lineAt[position]] = position;
    for (const int line : m_lineAt) {
        for (const int neighbour : graph.neighbours(line))
            m_neighbours.push_back(m_positionOf[neighbour]);
        m_neighbourOffsets.push_back(m_neighbours.size());
        const auto junctions = graph.junctionsOn(line);
        const auto across = graph.linesAcross(line);
        const int position = m_positionOf[line];
        const auto group = [&](auto belongs) {
            std::size_t count = 0;
            for (std::size_t i = 0; i < junctions.size(); ++i) {
                const int other = across[i] < 0 ? -1 : m_positionOf[across[i]];
                if (belongs(other)) {
                    m_across.push_back(other);
                    m_junctions.push_back(junctions[i]);
                    ++count;
                }
            }
            return count;
        };
        const std::size_t lower = group([&](int other) { return other >= 0 && other < position; });
        const std::size_t higher = group([&](int other) { return other > position; });
        group([](int other) { return other < 0; });
        m_higherFrom.push_back(lower);
        m_loneFrom.push_back(lower + higher);
        m_crossingOffsets.push_back(m_across.size());
    }
}

} // namespace vantrel::analysis

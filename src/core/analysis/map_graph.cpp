#include "core/analysis/map_graph.h"

#include "core/host/number_text.h"

#include <algorithm>
#include <utility>

namespace vantrel::analysis {
namespace {

// The 0-based line a junction's stored number names, or -1 when it names none.
int lineIndexOf(float number, int lineCount) {
    if (!(number > 0.0f && number < static_cast<float>(lineCount) + 1.0f)) {
        return -1;
    }
    const long long rounded = RoundHalfEven(number);
    return rounded >= 1 && rounded <= lineCount ? static_cast<int>(rounded - 1) : -1;
}

int lineIndexOf(std::int32_t number, int lineCount) {
    return number >= 1 && number <= lineCount ? number - 1 : -1;
}

template <class Row>
std::vector<std::array<int, 2>> LinesOfJunctions(const std::vector<Row>& junctions, int lineCount) {
    std::vector<std::array<int, 2>> lines;
    lines.reserve(junctions.size());
    for (const Row& junction : junctions)
        lines.push_back({lineIndexOf(junction.firstLine, lineCount),
                         lineIndexOf(junction.secondLine, lineCount)});
    return lines;
}

} // namespace

MapGraph::MapGraph(int lineCount, const std::vector<Junction>& junctions)
    : MapGraph(lineCount, LinesOfJunctions(junctions, lineCount)) {}

MapGraph::MapGraph(int lineCount, const std::vector<MapJunction>& junctions)
    : MapGraph(lineCount, LinesOfJunctions(junctions, lineCount)) {}

MapGraph::MapGraph(int lineCount, const std::vector<std::array<int, 2>>& linesOfJunctions)
    : m_lineCount(lineCount), m_lineOffsets(static_cast<std::size_t>(lineCount) + 1, 0),
      m_junctionLines(2 * linesOfJunctions.size(), -1),
      m_linesPerJunction(linesOfJunctions.size(), 0) {
    for (std::size_t junction = 0; junction < linesOfJunctions.size(); ++junction) {
        int* lines = m_junctionLines.data() + 2 * junction;
        auto& count = m_linesPerJunction[junction];
        for (const int line : linesOfJunctions[junction]) {
            if (line >= 0 && (count == 0 || lines[0] != line)) {
                lines[count++] = line;
            }
        }
        if (count == 2 && lines[1] < lines[0]) {
            std::swap(lines[0], lines[1]);
        }
        for (int i = 0; i < count; ++i) {
            ++m_lineOffsets[lines[i] + 1];
        }
    }
    for (int line = 0; line < lineCount; ++line) {
        m_lineOffsets[line + 1] += m_lineOffsets[line];
    }

    m_junctionsOn.resize(m_lineOffsets.back());
    m_linesAcross.resize(m_lineOffsets.back());
    std::vector<std::size_t> fill(m_lineOffsets.begin(), m_lineOffsets.end() - 1);
    for (int junction = 0; junction < junctionCount(); ++junction) {
        const auto lines = linesOf(junction);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::size_t cell = fill[lines[i]]++;
            m_junctionsOn[cell] = junction;
            m_linesAcross[cell] = lines.size() == 2 ? lines[1 - i] : -1;
        }
    }

    m_neighbourOffsets.push_back(0);
    for (int line = 0; line < lineCount; ++line) {
        const auto first = m_neighbours.end() - m_neighbours.begin();
        for (int across : linesAcross(line)) {
            if (across >= 0) {
                m_neighbours.push_back(across);
            }
        }
        std::sort(m_neighbours.begin() + first, m_neighbours.end());
        m_neighbours.erase(std::unique(m_neighbours.begin() + first, m_neighbours.end()),
                           m_neighbours.end());
        m_neighbourOffsets.push_back(m_neighbours.size());
    }
}

} // namespace vantrel::analysis

#include "core/analysis/adjacency.h"

namespace vantrel::analysis {

Matrix<std::int16_t> LineAdjacencyMatrix(const MapGraph& graph) {
    Matrix<std::int16_t> adjacency(graph.lineCount(), graph.lineCount());
    for (int line = 0; line < graph.lineCount(); ++line) {
        if (!graph.junctionsOn(line).empty()) {
            adjacency(line, line) = 1;
        }
        for (int across : graph.linesAcross(line)) {
            if (across >= 0) {
                adjacency(line, across) = 1;
            }
        }
    }
    return adjacency;
}

Matrix<std::int16_t> JunctionAdjacencyMatrix(const MapGraph& graph) {
    Matrix<std::int16_t> adjacency(graph.junctionCount(), graph.junctionCount());
    for (int line = 0; line < graph.lineCount(); ++line) {
        const auto junctions = graph.junctionsOn(line);
        for (int first : junctions) {
            for (int second : junctions) {
                adjacency(first, second) = 1;
            }
        }
    }
    return adjacency;
}

} // namespace vantrel::analysis

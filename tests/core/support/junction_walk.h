// Junction depths by the plain search over the junction graph: from a junction to every junction
// on its lines, each line opened once. The check for the faster search over the lines.
#pragma once

#include "core/analysis/map_graph.h"

#include <vector>

namespace vantrel::reference {

// Depth of every junction from the source, 0 for the source and for junctions not reached.
inline std::vector<int> JunctionDepthsFrom(const analysis::MapGraph& graph, int source) {
    std::vector<int> depth(graph.junctionCount(), 0);
    std::vector<bool> reached(graph.junctionCount(), false);
    std::vector<bool> opened(graph.lineCount(), false);
    std::vector<int> queue{source};
    reached[source] = true;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const int junction = queue[head];
        for (int line : graph.linesOf(junction)) {
            if (opened[line]) {
                continue;
            }
            opened[line] = true;
            for (int next : graph.junctionsOn(line)) {
                if (!reached[next]) {
                    reached[next] = true;
                    depth[next] = depth[junction] + 1;
                    queue.push_back(next);
                }
            }
        }
    }
    return depth;
}

} // namespace vantrel::reference

#include "core/analysis/source_order.h"

#include "core/analysis/line_waves.h"

namespace vantrel::analysis {

std::vector<int> ClusteredLines(const MapGraph& graph) {
    std::vector<int> order;
    order.reserve(graph.lineCount());
    std::vector<bool> taken(graph.lineCount(), false);
    std::vector<int> queue;
    for (int start = 0; start < graph.lineCount(); ++start) {
        if (taken[start]) {
            continue;
        }
        // Grows through lines not yet taken only, so each line is looked at once overall.
        const std::size_t runStart = order.size();
        taken[start] = true;
        queue.assign(1, start);
        for (std::size_t head = 0; head < queue.size() && order.size() - runStart < kSourcesPerWave;
             ++head) {
            order.push_back(queue[head]);
            for (int neighbour : graph.neighbours(queue[head])) {
                if (!taken[neighbour]) {
                    taken[neighbour] = true;
                    queue.push_back(neighbour);
                }
            }
        }
        // Lines queued beyond the run are given back to later runs.
        for (std::size_t rest = order.size() - runStart; rest < queue.size(); ++rest) {
            taken[queue[rest]] = false;
        }
    }
    return order;
}

std::vector<int> ClusteredJunctions(const MapGraph& graph) {
    std::vector<int> order;
    order.reserve(graph.junctionCount());
    std::vector<bool> taken(graph.junctionCount(), false);
    for (int line : ClusteredLines(graph)) {
        for (int junction : graph.junctionsOn(line)) {
            if (!taken[junction]) {
                taken[junction] = true;
                order.push_back(junction);
            }
        }
    }
    for (int junction = 0; junction < graph.junctionCount(); ++junction) {
        if (graph.linesOf(junction).empty()) {
            order.push_back(junction);
        }
    }
    return order;
}

} // namespace vantrel::analysis

#include "core/analysis/source_order.h"

namespace vantrel::analysis {

std::vector<int> ClusteredLines(const MapGraph& graph, std::size_t runLength) {
    // How many lines a run's search may pass before it settles for a shorter run.
    const std::size_t searchLimit = 16 * runLength;
    std::vector<int> order;
    order.reserve(graph.lineCount());
    std::vector<bool> taken(graph.lineCount(), false);
    // The run whose search last queued each line.
    std::vector<int> queuedBy(graph.lineCount(), -1);
    std::vector<int> queue;
    int run = 0;
    for (int start = 0; start < graph.lineCount(); ++start) {
        if (taken[start]) {
            continue;
        }
        // Grows outward through the lines of earlier runs as well, so that a run is filled with
        // the nearest lines left wherever earlier runs have taken the ones around it: runs then
        // fill whole batches, and no batch joins the ends of two far-apart runs.
        const std::size_t runStart = order.size();
        queue.assign(1, start);
        queuedBy[start] = run;
        for (std::size_t head = 0;
             head < queue.size() && head < searchLimit && order.size() - runStart < runLength;
             ++head) {
            const int line = queue[head];
            if (!taken[line]) {
                taken[line] = true;
                order.push_back(line);
            }
            for (int neighbour : graph.neighbours(line)) {
                if (queuedBy[neighbour] != run) {
                    queuedBy[neighbour] = run;
                    queue.push_back(neighbour);
                }
            }
        }
        ++run;
    }
    return order;
}

std::vector<int> ClusteredJunctions(const MapGraph& graph, std::size_t lineRunLength) {
    std::vector<int> order;
    order.reserve(graph.junctionCount());
    std::vector<bool> taken(graph.junctionCount(), false);
    for (int line : ClusteredLines(graph, lineRunLength)) {
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

#include "core/analysis/source_order.h"

#include "core/analysis/source_words.h"

#include <algorithm>

namespace vantrel::analysis {
namespace {

// Grows runs of up to `runLength` items around start lines, the lines in order, a start line
// beginning runs while it has items left: take(line, room) takes at most `room` items of a line
// that no run took before and says how many. A run grows outward through the lines of earlier
// runs as well, so that it is filled with the nearest items left wherever earlier runs have
// taken the ones around it: runs then fill whole batches, and no run joins two far-apart places.
// Returns how many items each run took.
template <class HasItems, class Take>
std::vector<std::size_t> GrowRuns(const MapGraph& graph, std::size_t runLength, HasItems&& hasItems,
                                  Take&& take) {
    // How many lines a run's search may pass before it settles for a shorter run.
    const std::size_t searchLimit = 16 * runLength;
    std::vector<std::size_t> runs;
    // The run whose search last queued each line.
    std::vector<int> queuedBy(graph.lineCount(), -1);
    std::vector<int> queue;
    for (int start = 0; start < graph.lineCount(); ++start) {
        while (hasItems(start)) {
            const int run = static_cast<int>(runs.size());
            std::size_t taken = 0;
            queue.assign(1, start);
            queuedBy[start] = run;
            for (std::size_t head = 0;
                 head < queue.size() && head < searchLimit && taken < runLength; ++head) {
                const int line = queue[head];
                taken += take(line, runLength - taken);
                for (const int neighbour : graph.neighbours(line)) {
                    if (queuedBy[neighbour] != run) {
                        queuedBy[neighbour] = run;
                        queue.push_back(neighbour);
                    }
                }
            }
            runs.push_back(taken);
        }
    }
    return runs;
}

// Lines one item each.
std::vector<std::size_t> LineRuns(const MapGraph& graph, std::size_t runLength,
                                  std::vector<int>& order) {
    std::vector<bool> taken(graph.lineCount(), false);
    return GrowRuns(
        graph, runLength, [&](int line) { return !taken[line]; },
        [&](int line, std::size_t) -> std::size_t {
            if (taken[line])
                return 0;
            taken[line] = true;
            order.push_back(line);
            return 1;
        });
}

// A full run is a batch of its own; the shorter ones, left where earlier runs had taken the lines
// around them, are packed together in order after the full ones, so that no batch is searched
// for a handful of sources. Moves the items to the batches' order.
std::vector<std::size_t> PackRuns(const std::vector<std::size_t>& runs, std::size_t batchSize,
                                  std::vector<int>& order) {
    std::vector<int> full;
    std::vector<int> shorter;
    std::vector<std::size_t> starts{0};
    std::size_t from = 0;
    for (const std::size_t run : runs) {
        auto& to = run == batchSize ? full : shorter;
        to.insert(to.end(), order.begin() + from, order.begin() + from + run);
        from += run;
        if (run == batchSize)
            starts.push_back(full.size());
    }
    std::size_t end = full.size();
    for (const std::size_t run : runs) {
        if (run == batchSize)
            continue;
        if (end + run - starts.back() > batchSize)
            starts.push_back(end);
        end += run;
    }
    if (end > starts.back())
        starts.push_back(end);
    order = std::move(full);
    order.insert(order.end(), shorter.begin(), shorter.end());
    return starts;
}

} // namespace

std::vector<int> ClusteredLines(const MapGraph& graph) {
    std::vector<int> order;
    order.reserve(graph.lineCount());
    LineRuns(graph, kSourcesPerWave, order);
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

SourceBatches LineBatches(const MapGraph& graph, std::size_t batchSize) {
    SourceBatches batches;
    batches.order.reserve(graph.lineCount());
    batches.starts = PackRuns(LineRuns(graph, batchSize, batches.order), batchSize, batches.order);
    return batches;
}

SourceBatches JunctionBatches(const MapGraph& graph, std::size_t batchSize) {
    SourceBatches batches;
    std::vector<int>& order = batches.order;
    order.reserve(graph.junctionCount());
    std::vector<bool> taken(graph.junctionCount(), false);
    // The junctions of each line before `left[line]` are taken.
    std::vector<std::size_t> left(graph.lineCount(), 0);
    const auto untaken = [&](int line) {
        const auto junctions = graph.junctionsOn(line);
        while (left[line] < junctions.size() && taken[junctions[left[line]]])
            ++left[line];
        return junctions.subspan(left[line]);
    };
    std::vector<std::size_t> runs = GrowRuns(
        graph, batchSize, [&](int line) { return !untaken(line).empty(); },
        [&](int line, std::size_t room) {
            std::size_t count = 0;
            for (const int junction : untaken(line)) {
                if (count == room)
                    break;
                if (!taken[junction]) {
                    taken[junction] = true;
                    order.push_back(junction);
                    ++count;
                }
            }
            return count;
        });
    for (int junction = 0; junction < graph.junctionCount(); ++junction) {
        if (graph.linesOf(junction).empty()) {
            order.push_back(junction);
            runs.push_back(1);
        }
    }
    batches.starts = PackRuns(runs, batchSize, order);
    return batches;
}

} // namespace vantrel::analysis

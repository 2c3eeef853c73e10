// Orders in which to search the sources, so that each batch searched together holds near items.
#pragma once

#include "core/analysis/map_graph.h"

#include <cstddef>
#include <vector>

namespace vantrel::analysis {

// Every line once, in runs of up to 64 lines grown around a start line, so that the lines of a
// run lie within few steps of one another and their searches keep in step.
std::vector<int> ClusteredLines(const MapGraph& graph);

// Every junction once: the junctions of the lines in clustered order, each where its first line
// comes.
std::vector<int> ClusteredJunctions(const MapGraph& graph);

// Items in clustered order, cut into batches of at most the batch size that each hold whole runs
// grown around a start line: batch b is order[starts[b]] up to order[starts[b + 1] - 1].
struct SourceBatches {
    std::vector<int> order;
    std::vector<std::size_t> starts{0};
    int count() const { return static_cast<int>(starts.size()) - 1; }
};

// Every line once, in runs of up to `batchSize` lines.
SourceBatches LineBatches(const MapGraph& graph, std::size_t batchSize);

// Every junction once, in runs of up to `batchSize` junctions taken from the lines as a run of
// lines grows; junctions on no line come last.
SourceBatches JunctionBatches(const MapGraph& graph, std::size_t batchSize);

} // namespace vantrel::analysis

// Orders in which to search the sources, so that each batch searched together holds near items.
#pragma once

#include "core/analysis/map_graph.h"
#include "core/analysis/source_words.h"

#include <cstddef>

#include <vector>

namespace vantrel::analysis {

// Every line once, in runs of up to `runLength` lines grown around a start line, so that the lines
// of a run lie within few steps of one another and their searches keep in step.
std::vector<int> ClusteredLines(const MapGraph& graph, std::size_t runLength = kSourcesPerWave);

// Every junction once: the junctions of the lines in clustered order (runs of `lineRunLength`
// lines), each where its first line comes.
std::vector<int> ClusteredJunctions(const MapGraph& graph,
                                    std::size_t lineRunLength = kSourcesPerWave);

} // namespace vantrel::analysis

// The square tables of direct relations kept in the project for each analysis.
#pragma once

#include "core/analysis/map_graph.h"
#include "core/app/matrix.h"

#include <cstdint>

namespace vantrel::analysis {

// 1 where two lines share a junction; the diagonal is 1 for every line with a junction.
Matrix<std::int16_t> LineAdjacencyMatrix(const MapGraph& graph);

// 1 where two junctions lie on a common line; the diagonal is 1 for every junction on a line.
Matrix<std::int16_t> JunctionAdjacencyMatrix(const MapGraph& graph);

} // namespace vantrel::analysis

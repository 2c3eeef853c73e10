// Which junctions lie on which line: the desktop's dense matrix and a compact form for big maps.
#pragma once

#include "core/app/matrix.h"
#include "core/app/project_state.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::geometry {

struct Incidence {
    int lineCount = 0;
    int junctionCount = 0;
    // The junctions of line l, ascending: lineJunctions[lineOffsets[l] .. lineOffsets[l + 1]).
    std::vector<int> lineOffsets;
    std::vector<int> lineJunctions;
    // The first and second line of each junction, as indices.
    std::vector<std::array<int, 2>> junctionLines;

    std::span<const int> junctionsOf(int lineIndex) const;
};

// Lines and junctions as indices. A junction whose two line numbers are equal is listed once.
// Throws std::out_of_range when a junction names a line outside 1..lineCount.
Incidence BuildIncidence(int lineCount, const std::vector<Junction>& junctions);

// Rows are lines, columns junctions: 1 where the line is one of the junction's two lines (its
// numbers rounded to the nearest whole number), 0 elsewhere. Throws std::out_of_range when a
// junction names a line outside 1..lineCount.
Matrix<std::int16_t> BuildLineJunctionMatrix(int lineCount, const std::vector<Junction>& junctions);

} // namespace vantrel::geometry

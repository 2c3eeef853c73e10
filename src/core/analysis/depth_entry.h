// Reading the depth matrix of the last analysis for the items of the current map.
#pragma once

#include "core/app/matrix.h"

#include <cstdint>

namespace vantrel::analysis {

// The depth between two items (0-based). The matrix may be older than the map: pairs beyond it
// (items added since the analysis) read as not connected, 0, instead of reading past its end.
inline int depthEntry(const Matrix<std::int16_t>& depth, int rowIndex, int columnIndex) {
    const auto row = static_cast<std::size_t>(rowIndex);
    const auto column = static_cast<std::size_t>(columnIndex);
    return row < depth.rows() && column < depth.columns() ? depth(row, column) : 0;
}

} // namespace vantrel::analysis

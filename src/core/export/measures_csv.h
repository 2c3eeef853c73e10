// The measures files of the batch tool: one row of measures per line or junction.
#pragma once

#include "core/analysis/item_measures.h"

#include <ostream>
#include <string>

namespace vantrel::exports {

// The heading of a radius column: "radius_3", and "radius_n" for radius n.
std::string RadiusHeading(analysis::MeasureRadius radius);

// In the record format of the text exports (RecordWriter: quoted headings, CR LF, floats in
// their shortest form): a heading record "number", "connectivity", "total_depth", "mean_depth",
// "reached", "integration" and one heading per radius column, then one record per item with its
// number from 1. The mean depth is the total depth over the items reached, as a 32-bit float,
// and left empty for an item that reaches none.
//
// The standard measures follow when they were computed: "control", "controllability",
// "line_length" (lines only), then per radius of ItemMeasures::syntax "node_count", for radii
// other than n "total_depth" and "mean_depth", "ra", "rra", "integration_hh",
// "integration_tekl", "entropy", "harmonic_mean_depth", and with choice "choice" and
// "choice_norm"; radius n headings have no suffix, the others "_r" and the radius. These are
// written as 64-bit doubles; a measure that does not exist is an empty field.
void WriteMeasures(std::ostream& out, const analysis::ItemMeasures& measures);

} // namespace vantrel::exports

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
void WriteMeasures(std::ostream& out, const analysis::ItemMeasures& measures);

} // namespace vantrel::exports

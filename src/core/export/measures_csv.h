// The measures files of the batch tool: one row of measures per line or junction.
#pragma once

#include "core/analysis/item_measures.h"
#include "core/export/measure_columns.h"

#include <ostream>
#include <string>

namespace vantrel::exports {

// The heading of a radius column: "radius_3", and "radius_n" for radius n.
std::string RadiusHeading(analysis::MeasureRadius radius);

// In the record format of the text exports (RecordWriter: quoted headings, CR LF, floats in
// their shortest form): a heading record of the MeasureColumns, then one record per item. Float
// columns are written in the shortest form of a 32-bit float, doubles in the shortest form of a
// 64-bit double; a measure that does not exist is an empty field.
void WriteMeasures(std::ostream& out, const analysis::ItemMeasures& measures);

// The same for any columns: a heading record, then one record for each row 0 .. rows - 1.
void WriteColumns(std::ostream& out, const std::vector<MeasureColumn>& columns, int rows);

} // namespace vantrel::exports

// The columns of the segment measures, for every writer of them (the CSV file, the GIS layer).
#pragma once

#include "core/export/measure_columns.h"
#include "core/segment/segment_analysis.h"
#include "core/segment/segment_map.h"

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace vantrel::segment {

struct SegmentTable {
    const SegmentMap& map;
    std::span<const RadiusResults> radii;
    // Per segment's source line, the number shown as axial_line; empty for the 1-based line
    // numbers.
    std::span<const std::int64_t> sourceNumbers = {};
    // Per source line, the GIS feature it came from, as a column source_fid; empty for none.
    std::span<const std::int64_t> sourceFeatureIds = {};
    // The end points as columns x1, y1, x2, y2 (for files without geometry).
    bool coordinates = false;
};

// "number", with `coordinates` "x1", "y1", "x2", "y2", then "axial_line", with feature ids
// "source_fid", then "segment_length",
// "connectivity", "angular_connectivity", and per radius "node_count", "total_depth",
// "mean_depth", "integration", "nain", "total_length", with choice "choice" and "nach", then
// "node_count_wl", "total_depth_wl", "integration_wl" and with choice "choice_wl"; radius n
// headings have no suffix, the others "_r" and the radius. A measure a segment does not have
// (the mean depth of a segment that reaches no other; integration where the total depth is 0)
// has no value. The columns refer to `table`'s contents, which must outlive them.
std::vector<exports::MeasureColumn> SegmentColumns(const SegmentTable& table);

// The suffix of a radius's headings: "" for radius n, else "_r400", "_r1.5".
std::string RadiusSuffix(double radius);

// The CSV file of the columns: a heading record, then one record per segment, in the record
// format of the measures files.
void WriteSegmentMeasures(std::ostream& out, const SegmentTable& table);

} // namespace vantrel::segment

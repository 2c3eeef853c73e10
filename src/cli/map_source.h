// The map a run analyses: lines from the program's own text files or from any GIS layer, with
// what the results written back to a GIS file need.
#pragma once

#include "cli/arguments.h"
#include "cli/stage_log.h"
#include "core/app/project_state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::cli {

struct MapSource {
    std::vector<MapLine> lines;
    // Per line, the id of the GIS feature it came from; empty for text files.
    std::vector<std::int64_t> featureIds;
    // The layer's spatial reference system as WKT; empty when it has none.
    std::string crsWkt;
};

// A .txt or .csv file is read as an axial-lines export or an x1,y1,x2,y2 CSV file; a CSV file
// that is neither is tried as a GIS layer (a WKT column), and so is every other file, or any file
// when a layer is named. Notes on split and skipped features and on a CRS in degrees go to `log`.
// The fault that stops the run, or nothing.
std::optional<std::string> ReadMapSource(const AnalyseOptions& options, StageLog& log,
                                         MapSource& source);

} // namespace vantrel::cli

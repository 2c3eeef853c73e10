// One layer of lines with measure columns and a default style, for analyses whose results are
// lines of their own (the segments of a segment analysis).
#pragma once

#include "core/app/project_state.h"
#include "core/export/measure_columns.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantrel::gis {

struct LineLayer {
    std::string name;
    std::span<const MapLine> lines;
    std::string crsWkt;
    std::vector<exports::MeasureColumn> columns;
    // The column the default style colours by, red (high) to blue (low) in the program's 13
    // colours, each colour holding about as many lines; `styleDescription` says so in words.
    std::string styledColumn;
    std::string styleDescription;
};

// Writes the layer into `folder` in the format `target`'s extension names, under `target`'s name:
// a GeoPackage holds the layer and its style; the other formats hold the layer as the file
// itself, with its style beside it in a .qml file of the same name. A failure names `target`.
std::optional<std::string> WriteLineLayer(const std::filesystem::path& folder,
                                          const std::filesystem::path& target,
                                          const LineLayer& layer);

} // namespace vantrel::gis

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

// The file a layer of that name is written to under `target`, as for the other result layers:
// NAME.gpkg, or NAME_LAYER.EXT (NAME_LAYER_shp.shp for a Shapefile, whose field names are cut).
std::string LineLayerFileName(const std::filesystem::path& target, const std::string& layer);

// Writes the layer into `folder` in the format `target`'s extension names, in the file
// LineLayerFileName gives: a GeoPackage holds the layer and its style; in the other formats the
// style is beside the layer's file in a .qml file of the same name. A failure names `target`.
std::optional<std::string> WriteLineLayer(const std::filesystem::path& folder,
                                          const std::filesystem::path& target,
                                          const LineLayer& layer);

} // namespace vantrel::gis

// The results of a run as GIS layers: `axial_lines` (each line with its feature id and measures)
// and `junctions` (each junction with its two lines and measures), in the input's CRS, with a
// default QGIS style.
#pragma once

#include "core/analysis/item_measures.h"
#include "core/app/project_state.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace vantrel::gis {

// True for the names the results can be written to: .gpkg, .geojson, .fgb and .shp.
bool IsLayerFileName(const std::filesystem::path& target);


struct ResultLayers {
    std::span<const MapLine> lines = {};
    // Per line, the feature it came from; empty when the lines came from a text file.
    std::span<const std::int64_t> featureIds = {};
    std::string crsWkt = {};
    std::span<const MapJunction> junctions = {};
    // Null for an analysis that did not run.
    const analysis::ItemMeasures* axial = nullptr;
    const analysis::ItemMeasures* dual = nullptr;
    // Hears what a user must know of the files written: the fields a format renamed.
    std::function<void(const std::string&)> note = {};
};

// Writes the results into `folder` in the format `target`'s extension names, under `target`'s
// name: a GeoPackage holds both layers and their styles (in its layer_styles table, as QGIS keeps
// them); a format of one layer a file gives NAME_axial_lines.EXT and NAME_junctions.EXT
// (NAME_axial_lines_shp.shp and NAME_junctions_shp.shp for a Shapefile, whose cut field names
// need styles of their own), each with its style beside it in a .qml file of the same name,
// which QGIS loads with the layer. Items are styled by integration_hh in 13 classes of equal
// count, and layers written without a spatial reference system get the undefined Cartesian one.
// A failure names `target`.
std::optional<std::string> WriteResultLayers(const std::filesystem::path& folder,
                                             const std::filesystem::path& target,
                                             const ResultLayers& results);

} // namespace vantrel::gis

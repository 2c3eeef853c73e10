// The results of a run as GIS layers: `axial_lines` (each line with its feature id and measures)
// and `junctions` (each junction with its two lines and measures), in the input's CRS, with a
// default QGIS style.
#pragma once

#include "core/analysis/item_measures.h"
#include "core/app/project_state.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace vantrel::gis {

// True for the names the results can be written to: .gpkg, .geojson, .fgb and .shp.
bool IsLayerFileName(const std::filesystem::path& target);

struct LayerFileFormat {
    // GDAL's name of the driver that writes it.
    const char* driver;
    // One file holds every layer (a GeoPackage); otherwise each layer is a file of its own.
    bool manyLayers;
};
// The format of a name IsLayerFileName accepts.
LayerFileFormat LayerFileFormatOf(const std::filesystem::path& target);

struct ResultLayers {
    std::span<const MapLine> lines = {};
    // Per line, the feature it came from; empty when the lines came from a text file.
    std::span<const std::int64_t> featureIds = {};
    std::string crsWkt = {};
    std::span<const MapJunction> junctions = {};
    // Null for an analysis that did not run.
    const analysis::ItemMeasures* axial = nullptr;
    const analysis::ItemMeasures* dual = nullptr;
};

// Writes the results into `folder` in the format `target`'s extension names, under `target`'s
// name: a GeoPackage holds both layers and their styles (in its layer_styles table, as QGIS keeps
// them); a format of one layer a file gives NAME_axial_lines.EXT and NAME_junctions.EXT, each
// with its style beside it in a .qml file of the same name, which QGIS loads with the layer.
// A failure names `target`.
std::optional<std::string> WriteResultLayers(const std::filesystem::path& folder,
                                             const std::filesystem::path& target,
                                             const ResultLayers& results);

} // namespace vantrel::gis

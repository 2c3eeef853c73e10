// Axial lines from any vector dataset GDAL opens: GeoPackage, Shapefile, GeoJSON, FlatGeobuf,
// DXF, MapInfo, GML, KML, CSV with WKT and more.
#pragma once

#include "core/app/project_state.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::gis {

struct LayerLines {
    std::vector<MapLine> lines;
    // Per line, the id of the feature it came from.
    std::vector<std::int64_t> featureIds;
    std::string layerName;
    // The layer's spatial reference system as WKT; empty when it has none.
    std::string crsWkt;
    // Short name of the system for messages ("EPSG:27700"), or its name.
    std::string crsName;
    bool geographic = false;
    // Features of several straight pieces, each piece made a line of its own.
    int splitFeatures = 0;
    int linesFromSplits = 0;
    // Features skipped because they hold no line: points, polygons, empty or null geometries.
    int skippedFeatures = 0;
};

struct LayerReading {
    std::optional<LayerLines> layer;
    // Why not, naming the file (and the layer): set when `layer` is empty.
    std::string error;
};

// Which geometries give lines: line strings only, or the rings of polygons too (as walls do).
enum class LineSources { LineStrings, LineStringsAndRings };

// Reads the layer named `layerName`, or when it is empty the one layer that holds lines. Line
// strings are axial lines; a line string of more than two vertices and a multi-line string give
// one line per straight piece; x and y are taken from 3D and measured coordinates. With
// LineStringsAndRings, every ring of a polygon or multi-polygon gives its pieces too.
LayerReading ReadLayerLines(const std::filesystem::path& file, const std::string& layerName,
                            LineSources sources = LineSources::LineStrings);

} // namespace vantrel::gis

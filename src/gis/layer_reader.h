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
    // Features with curves (circular strings, compound curves), read as the straight pieces
    // GDAL approximates them with.
    int curvedFeatures = 0;
    // The ids of features skipped because GDAL could not read them: a geometry that is cut
    // short or claims more points or parts than it holds.
    std::vector<std::int64_t> damagedFeatures;
};

// What a reader tells of damaged features: "2 features are damaged and were skipped (GDAL cannot
// read their geometry): feature ids 3, 7", with the first ten ids.
std::string DamagedFeaturesNote(const std::vector<std::int64_t>& ids);

struct LayerReading {
    std::optional<LayerLines> layer;
    // Why not, naming the file (and the layer): set when `layer` is empty.
    std::string error;
};

// Which geometries give lines: line strings only, or the rings of polygons too (as walls do).
enum class LineSources { LineStrings, LineStringsAndRings };

// Reads the layer named `layerName`, or when it is empty the one layer that holds lines and at
// least one feature. Line strings are axial lines; a line string of more than two vertices, a
// multi-line string and the lines of a collection give one line per straight piece, curves one
// per piece of GDAL's approximation; x and y are taken from 3D and measured coordinates. With
// LineStringsAndRings, every ring of a polygon or multi-polygon gives its pieces too. A layer
// whose system is GeoPackage's undefined one is read as a layer without a system. With an
// `attributeFilter` (an OGR SQL condition), only the features it keeps are read.
LayerReading ReadLayerLines(const std::filesystem::path& file, const std::string& layerName,
                            LineSources sources = LineSources::LineStrings,
                            const std::string& attributeFilter = {});

struct LineLayer {
    std::string name;
    std::int64_t featureCount = 0;
};

struct LineLayerList {
    // In the dataset's order.
    std::vector<LineLayer> layers;
    // Why the file could not be read, naming it; empty on success.
    std::string error;
};

// The layers of `file` that hold lines and at least one feature, for a user to choose from.
LineLayerList ListLineLayers(const std::filesystem::path& file);

} // namespace vantrel::gis

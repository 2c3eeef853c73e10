// The files a GIS result is made of, and whether files already there hold anything else: what
// a run may replace unasked.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::gis {

// The layers of a result, as a GeoPackage names them and as the files of other formats end.
inline constexpr char kAxialLayerName[] = "axial_lines";
inline constexpr char kJunctionLayerName[] = "junctions";

struct ResultFormat {
    const char* extension;
    const char* driver;
    bool manyLayers;
    // Ends the names of a format's layer files. A Shapefile cuts field names, so its style
    // differs from the other formats' and must not take the place of theirs beside it.
    const char* layerSuffix;
};

// The format that `target`'s extension names: .gpkg, .geojson, .fgb or .shp; nullptr for others.
const ResultFormat* ResultFormatOf(const std::filesystem::path& target);

// What the rasters the tool writes (GeoTIFF, .tif or .tiff) say of their maker, so that a raster
// another program wrote is not replaced unasked.
inline constexpr char kRasterSoftware[] = "Vantrel";

// The layers a run writes under `target`, as a GeoPackage names them and as the files of other
// formats end (NAME_axial_lines.EXT): those of an analysis, with the format's layer suffix.
std::vector<std::string> AnalysisLayerNames(const std::filesystem::path& target);

// The functions below also take a GeoTIFF `target`, a raster of one file.

// Whether a file of that name in the target's folder belongs to a result of `layers` written under
// `target`: NAME.gpkg (and SQLite's files beside it), or NAME_LAYER with the extensions of the
// format and of the files that go with it (.shx, .dbf, .prj, .qml, ...).
bool IsResultFile(const std::filesystem::path& target, const std::vector<std::string>& layers,
                  const std::string& name);

// The data files of a result of `layers` written under `target`'s name: NAME.gpkg, or one file a
// layer.
std::vector<std::string> ResultDataFiles(const std::filesystem::path& target,
                                         const std::vector<std::string>& layers);

// What the existing data file `file` of a result of `layers` written under `target`'s name holds
// that a run does not write ("the layer "roads"", "something GDAL cannot read as a GeoPackage");
// nothing when it holds only layers a run writes.
std::optional<std::string> ForeignContent(const std::filesystem::path& target,
                                          const std::vector<std::string>& layers,
                                          const std::filesystem::path& file);

// Every file of the dataset at `path` (a Shapefile's .shp, .shx, .dbf, ...), `path` among them.
std::vector<std::filesystem::path> DatasetFiles(const std::filesystem::path& path);

} // namespace vantrel::gis

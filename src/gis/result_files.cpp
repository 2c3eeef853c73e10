#include "gis/result_files.h"

#include "core/host/quoted_text.h"
#include "gis/gdal_session.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace vantrel::gis {

namespace {

namespace fs = std::filesystem;

constexpr ResultFormat kFormats[] = {{".gpkg", "GPKG", true, ""},
                                     {".geojson", "GeoJSON", false, ""},
                                     {".fgb", "FlatGeobuf", false, ""},
                                     {".shp", "ESRI Shapefile", false, "_shp"}};

constexpr ResultFormat kRaster = {".tif", "GTiff", true, ""};

// The table in which a GeoPackage keeps the layers' styles.
constexpr char kStylesTable[] = "layer_styles";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// What goes with a layer file NAME.EXT, as NAME and one of these: the style QGIS loads with it,
// and a Shapefile's parts and the indexes other programs add.
std::vector<std::string> CompanionExtensions(const ResultFormat& format) {
    std::vector<std::string> extensions = {format.extension, ".qml"};
    if (std::string_view(format.driver) == "ESRI Shapefile")
        extensions.insert(extensions.end(),
                          {".shx", ".dbf", ".prj", ".cpg", ".qix", ".sbn", ".sbx"});
    return extensions;
}

// The format of a result the output staging moves into place: a layer file's, or a raster's.
const ResultFormat& StagedFormatOf(const fs::path& target) {
    if (const ResultFormat* format = ResultFormatOf(target))
        return *format;
    return kRaster;
}

} // namespace

const ResultFormat* ResultFormatOf(const fs::path& target) {
    const std::string extension = Lower(target.extension().string());
    for (const ResultFormat& format : kFormats)
        if (extension == format.extension)
            return &format;
    return nullptr;
}

std::vector<std::string> AnalysisLayerNames(const fs::path& target) {
    const std::string suffix = ResultFormatOf(target)->layerSuffix;
    return {kAxialLayerName + suffix, kJunctionLayerName + suffix};
}

bool IsResultFile(const fs::path& target, const std::vector<std::string>& layers,
                  const std::string& name) {
    const ResultFormat& format = StagedFormatOf(target);
    const std::string file = target.filename().string();
    if (format.manyLayers) {
        // SQLite's journal, log and index of shared memory belong to the file they are beside.
        for (const char* companion : {"", "-journal", "-wal", "-shm"})
            if (name == file + companion)
                return true;
        return false;
    }
    const std::string stem = target.stem().string();
    for (const std::string& layer : layers) {
        const std::string base = stem + "_" + layer;
        if (!name.starts_with(base))
            continue;
        const std::string extension = Lower(name.substr(base.size()));
        for (const std::string& companion : CompanionExtensions(format))
            if (extension == companion)
                return true;
    }
    return false;
}

std::vector<std::string> ResultDataFiles(const fs::path& target,
                                         const std::vector<std::string>& layers) {
    const ResultFormat& format = StagedFormatOf(target);
    if (format.manyLayers)
        return {target.filename().string()};
    std::vector<std::string> files;
    for (const std::string& layer : layers)
        files.push_back(target.stem().string() + "_" + layer + target.extension().string());
    return files;
}

std::optional<std::string> ForeignContent(const fs::path& target,
                                          const std::vector<std::string>& layers,
                                          const fs::path& file) {
    const GdalSession gdal;
    const ResultFormat& format = StagedFormatOf(target);
    const char* const drivers[] = {format.driver, nullptr};
    const bool raster = &format == &kRaster;
    const GDALDatasetUniquePtr dataset(GDALDataset::Open(
        file.c_str(), (raster ? GDAL_OF_RASTER : GDAL_OF_VECTOR) | GDAL_OF_READONLY, drivers,
        nullptr, nullptr));
    if (!dataset)
        return std::string("something GDAL cannot read as a ") + format.driver + " file";
    if (raster) {
        const char* maker = dataset->GetMetadataItem("TIFFTAG_SOFTWARE");
        if (!maker || std::string_view(maker) != kRasterSoftware)
            return std::string("a raster");
        return std::nullopt;
    }
    std::vector<std::string> ours = layers;
    // A file of one layer may be named by its file, as a Shapefile's is.
    ours.push_back(format.manyLayers ? kStylesTable : file.stem().string());
    for (OGRLayer* layer : dataset->GetLayers())
        if (std::find(ours.begin(), ours.end(), layer->GetName()) == ours.end())
            return "the layer " + QuotedValue(layer->GetName());
    return std::nullopt;
}

std::vector<fs::path> DatasetFiles(const fs::path& path) {
    std::vector<fs::path> files = {path};
    const GdalSession gdal;
    const GDALDatasetUniquePtr dataset(
        GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!dataset)
        return files;
    char** list = dataset->GetFileList();
    for (char** file = list; file && *file; ++file)
        files.emplace_back(*file);
    CSLDestroy(list);
    return files;
}

} // namespace vantrel::gis

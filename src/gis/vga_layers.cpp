#include "gis/vga_layers.h"

#include "core/export/atomic_file.h"
#include "core/host/quoted_text.h"
#include "gis/gdal_session.h"
#include "gis/layer_crs.h"
#include "gis/layer_writing.h"
#include "gis/qgis_style.h"
#include "gis/result_files.h"
#include "gis/style_table.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace vantrel::gis {

namespace {

namespace fs = std::filesystem;
using exports::MeasureColumn;

constexpr char kStyleDescription[] = "Visual integration [HH], red (high) to blue (low)";

std::string Failure(const fs::path& target, const std::string& why) {
    return "Could not write " + QuotedName(target) + ": " + why;
}

std::string StyleOf(const VgaPoints& points, const LayerBuilder& builder) {
    const std::vector<MeasureColumn> columns(points.columns.begin(), points.columns.end());
    const int field = builder.fieldIndexOf({}, columns, points.styledColumn);
    if (field < 0)
        return {};
    const MeasureColumn& styled = columns[static_cast<std::size_t>(field)];
    double lowest = std::numeric_limits<double>::infinity(), highest = -lowest;
    for (int point = 0; point < points.grid.pointCount(); ++point) {
        if (const auto value = styled.value(point)) {
            lowest = std::min(lowest, *value);
            highest = std::max(highest, *value);
        }
    }
    if (lowest > highest)
        lowest = highest = 0;
    return QgisCellStyle(builder.fieldName(field), lowest, highest, points.grid.spacing());
}

} // namespace

std::optional<std::string> WriteVgaPoints(const fs::path& folder, const fs::path& target,
                                          const VgaPoints& points) {
    const GdalSession gdal;
    const ResultFormat* format = ResultFormatOf(target);
    if (!format)
        return Failure(target, "it is not a GeoPackage, GeoJSON, FlatGeobuf or Shapefile name");
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(format->driver);
    if (!driver)
        return Failure(target, std::string("GDAL has no ") + format->driver + " driver");
    // A format of one layer a file names it as the other result layers are: NAME_vga_points.EXT.
    const fs::path file =
        format->manyLayers
            ? folder / target.filename()
            : folder / (target.stem().string() + "_" + kVgaLayer + target.extension().string());
    std::string style;
    {
        const GDALDatasetUniquePtr dataset(
            driver->Create(file.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        if (!dataset)
            return Failure(target, gdal.lastError("the file could not be made"));
        dataset->StartTransaction();
        LayerCrs crs(points.crsWkt);
        const std::vector<MeasureColumn> columns(points.columns.begin(), points.columns.end());
        LayerBuilder builder(*dataset, kVgaLayer, wkbPoint, crs.get(), nullptr, gdal);
        if (auto fault = builder.addFields({}, columns))
            return Failure(target, *fault);
        for (int point = 0; point < points.grid.pointCount(); ++point) {
            const vga::DoublePoint at = points.grid.location(point);
            OGRPoint geometry(at.x, at.y);
            if (auto fault = builder.add(geometry, point, {}, columns))
                return Failure(target, *fault);
        }
        style = StyleOf(points, builder);
        if (format->manyLayers && !style.empty())
            if (auto fault = StoreLayerStyles(*dataset, gdal,
                                              {{&builder.layer(), style, kStyleDescription}}))
                return Failure(target, *fault);
        if (dataset->CommitTransaction() != OGRERR_NONE)
            return Failure(target, gdal.lastError("the file could not be completed"));
    }
    if (!format->manyLayers && !style.empty())
        return exports::WriteFileAtomically(fs::path(file).replace_extension(".qml"),
                                            [&style](std::ostream& out) { out << style; });
    return std::nullopt;
}

std::optional<std::string> WriteVgaRaster(const fs::path& file, const fs::path& target,
                                          const VgaPoints& points) {
    const GdalSession gdal;
    const vga::PointGrid& grid = points.grid;
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    if (!driver)
        return Failure(target, "GDAL has no GTiff driver");
    std::vector<const MeasureColumn*> bands;
    for (const MeasureColumn& column : points.columns)
        if (column.name != "x" && column.name != "y")
            bands.push_back(&column);
    const char* const options[] = {"COMPRESS=DEFLATE", "PREDICTOR=3", "TILED=YES",
                                   "BIGTIFF=IF_SAFER", nullptr};
    GDALDatasetUniquePtr dataset(driver->Create(file.c_str(), grid.columns(), grid.rows(),
                                                static_cast<int>(bands.size()), GDT_Float64,
                                                const_cast<char**>(options)));
    if (!dataset)
        return Failure(target, gdal.lastError("the file could not be made"));
    const double spacing = grid.spacing();
    double transform[6] = {grid.columnX(0) - spacing / 2,
                           spacing,
                           0,
                           grid.rowY(grid.rows() - 1) + spacing / 2,
                           0,
                           -spacing};
    dataset->SetGeoTransform(transform);
    dataset->SetMetadataItem("TIFFTAG_SOFTWARE", kRasterSoftware);
    // A raster has no undefined Cartesian system: one of unknown system is written without any.
    if (!points.crsWkt.empty())
        dataset->SetSpatialRef(LayerCrs(points.crsWkt).get());
    const double none = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> cells(static_cast<std::size_t>(grid.columns()) * grid.rows());
    for (std::size_t index = 0; index < bands.size(); ++index) {
        GDALRasterBand* band = dataset->GetRasterBand(static_cast<int>(index) + 1);
        band->SetDescription(bands[index]->name.c_str());
        band->SetNoDataValue(none);
        std::fill(cells.begin(), cells.end(), none);
        for (int point = 0; point < grid.pointCount(); ++point) {
            // Raster rows run from the top.
            const std::size_t row = static_cast<std::size_t>(grid.rows() - 1 - grid.rowOf(point));
            cells[row * grid.columns() + static_cast<std::size_t>(grid.columnOf(point))] =
                bands[index]->value(point).value_or(none);
        }
        if (band->RasterIO(GF_Write, 0, 0, grid.columns(), grid.rows(), cells.data(),
                           grid.columns(), grid.rows(), GDT_Float64, 0, 0) != CE_None)
            return Failure(target, gdal.lastError("a band could not be written"));
    }
    // The last blocks reach the file as it closes, where GDAL can only tell by its error state.
    CPLErrorReset();
    dataset.reset();
    if (CPLGetLastErrorType() >= CE_Failure)
        return Failure(target, gdal.lastError("the file could not be completed"));
    return std::nullopt;
}

} // namespace vantrel::gis

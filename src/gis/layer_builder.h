// What every writer of result layers shares: the formats by extension, a layer built from the
// columns of the measures, and the layer_styles table in which QGIS finds a GeoPackage's styles.
#pragma once

#include "core/export/measure_columns.h"
#include "gis/gdal_session.h"

#include <ogrsf_frmts.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel::gis {

struct Format {
    const char* extension;
    const char* driver;
    bool manyLayers;
};

// The format a file name's extension names (.gpkg, .geojson, .fgb, .shp), or null.
const Format* FormatOf(const std::filesystem::path& target);

// A column of the layer besides the measures: its name and each item's value.
struct ExtraField {
    const char* name;
    std::function<std::int64_t(int index)> value;
};

class LayerBuilder {
public:
    LayerBuilder(GDALDataset& dataset, const char* name, OGRwkbGeometryType type,
                 OGRSpatialReference* crs, char** options, const GdalSession& gdal);

    std::optional<std::string> addFields(const std::vector<ExtraField>& extras,
                                         const std::vector<exports::MeasureColumn>& columns);
    // The name the format gave a field (a Shapefile cuts names to ten characters).
    std::string fieldName(int index) const;
    int fieldIndexOf(const std::vector<ExtraField>& extras,
                     const std::vector<exports::MeasureColumn>& columns,
                     std::string_view name) const;
    std::optional<std::string> add(OGRGeometry& geometry, int index,
                                   const std::vector<ExtraField>& extras,
                                   const std::vector<exports::MeasureColumn>& columns);
    OGRLayer& layer() { return *m_layer; }

private:
    std::optional<std::string> addField(const char* name, OGRFieldType type);
    std::string failure(const std::string& what) const;

    const GdalSession& m_gdal;
    OGRLayer* m_layer;
    std::string m_name;
};

// The layer_styles table, made the way QGIS makes it, so that QGIS finds each layer's default
// style, described by `description`.
std::optional<std::string> StoreStyles(GDALDataset& dataset, const GdalSession& gdal,
                                       const std::vector<std::pair<OGRLayer*, std::string>>& styles,
                                       std::string_view description);

} // namespace vantrel::gis

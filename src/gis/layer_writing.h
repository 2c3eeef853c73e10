// What every writer of result layers shares: the formats, a layer's fields and features from
// measure columns, and the layer_styles table of a GeoPackage.
#pragma once

#include "core/export/measure_columns.h"
#include "gis/gdal_session.h"

#include <gdal_priv.h>
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

// The format a file name's extension names: .gpkg, .geojson, .fgb or .shp; null for others.
const Format* FormatOf(const std::filesystem::path& target);

// A column of the layer besides the measures: its name and each item's value.
struct ExtraField {
    const char* name;
    std::function<std::int64_t(int index)> value;
};

class LayerBuilder {
public:
    LayerBuilder(GDALDataset& dataset, const char* name, OGRwkbGeometryType type,
                 OGRSpatialReference* crs, char** options, const GdalSession& gdal)
        : m_gdal(gdal), m_layer(dataset.CreateLayer(name, crs, type, options)), m_name(name) {}

    std::optional<std::string> addFields(const std::vector<ExtraField>& extras,
                                         const std::vector<exports::MeasureColumn>& columns);

    // The name the format gave a field (a Shapefile cuts names to ten characters).
    std::string fieldName(int index) const {
        return m_layer->GetLayerDefn()->GetFieldDefn(index)->GetNameRef();
    }
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

// The layer_styles table, made the way QGIS makes it, so that QGIS finds the default style of
// each layer; `description` tells what the styles show.
std::optional<std::string> StoreStyles(GDALDataset& dataset, const GdalSession& gdal,
                                       const std::vector<std::pair<OGRLayer*, std::string>>& styles,
                                       const std::string& description);

} // namespace vantrel::gis

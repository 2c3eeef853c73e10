#include "gis/layer_builder.h"

#include "core/host/quoted_text.h"

#include <gdal_priv.h>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vantrel::gis {

namespace {

namespace fs = std::filesystem;
using exports::MeasureColumn;

constexpr Format kFormats[] = {{".gpkg", "GPKG", true},
                               {".geojson", "GeoJSON", false},
                               {".fgb", "FlatGeobuf", false},
                               {".shp", "ESRI Shapefile", false}};

// What the measures files show for a 32-bit value (0.3, not 0.30000001192092896).
double AsWritten(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double wide = value;
    std::from_chars(text, written.ptr, wide);
    return wide;
}

} // namespace

const Format* FormatOf(const fs::path& target) {
    std::string extension = target.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Format& format : kFormats)
        if (extension == format.extension)
            return &format;
    return nullptr;
}

LayerBuilder::LayerBuilder(GDALDataset& dataset, const char* name, OGRwkbGeometryType type,
                           OGRSpatialReference* crs, char** options, const GdalSession& gdal)
    : m_gdal(gdal), m_layer(dataset.CreateLayer(name, crs, type, options)), m_name(name) {}

std::optional<std::string> LayerBuilder::addFields(const std::vector<ExtraField>& extras,
                                                   const std::vector<MeasureColumn>& columns) {
    if (!m_layer)
        return failure("the layer could not be made");
    for (const ExtraField& extra : extras)
        if (auto fault = addField(extra.name, OFTInteger64))
            return fault;
    for (const MeasureColumn& column : columns)
        if (auto fault =
                addField(column.name.c_str(),
                         column.kind == MeasureColumn::Kind::Integer ? OFTInteger64 : OFTReal))
            return fault;
    return std::nullopt;
}

std::string LayerBuilder::fieldName(int index) const {
    return m_layer->GetLayerDefn()->GetFieldDefn(index)->GetNameRef();
}

int LayerBuilder::fieldIndexOf(const std::vector<ExtraField>& extras,
                               const std::vector<MeasureColumn>& columns,
                               std::string_view name) const {
    for (std::size_t column = 0; column < columns.size(); ++column)
        if (columns[column].name == name)
            return static_cast<int>(extras.size() + column);
    return -1;
}

std::optional<std::string> LayerBuilder::add(OGRGeometry& geometry, int index,
                                             const std::vector<ExtraField>& extras,
                                             const std::vector<MeasureColumn>& columns) {
    OGRFeature feature(m_layer->GetLayerDefn());
    feature.SetGeometryDirectly(geometry.clone());
    int field = 0;
    for (const ExtraField& extra : extras)
        feature.SetField(field++, static_cast<GIntBig>(extra.value(index)));
    for (const MeasureColumn& column : columns) {
        const std::optional<double> value = column.value(index);
        if (!value)
            feature.SetFieldNull(field);
        else if (column.kind == MeasureColumn::Kind::Integer)
            feature.SetField(field, static_cast<GIntBig>(*value));
        else if (column.kind == MeasureColumn::Kind::Float)
            feature.SetField(field, AsWritten(static_cast<float>(*value)));
        else
            feature.SetField(field, *value);
        ++field;
    }
    if (m_layer->CreateFeature(&feature) != OGRERR_NONE)
        return failure("a feature could not be written");
    return std::nullopt;
}

std::optional<std::string> LayerBuilder::addField(const char* name, OGRFieldType type) {
    OGRFieldDefn definition(name, type);
    if (m_layer->CreateField(&definition) != OGRERR_NONE)
        return failure("the field " + QuotedValue(name) + " could not be made");
    return std::nullopt;
}

std::string LayerBuilder::failure(const std::string& what) const {
    return "layer " + QuotedValue(m_name) + ": " + m_gdal.lastError(what);
}

std::optional<std::string> StoreStyles(GDALDataset& dataset, const GdalSession& gdal,
                                       const std::vector<std::pair<OGRLayer*, std::string>>& styles,
                                       std::string_view description) {
    OGRLayer* table = dataset.CreateLayer("layer_styles", nullptr, wkbNone, nullptr);
    if (!table)
        return "the layer_styles table could not be made: " + gdal.lastError("");
    const std::pair<const char*, int> textFields[] = {{"f_table_catalog", 256},
                                                      {"f_table_schema", 256},
                                                      {"f_table_name", 256},
                                                      {"f_geometry_column", 256},
                                                      {"styleName", 30},
                                                      {"styleQML", 0},
                                                      {"styleSLD", 0},
                                                      {"description", 0},
                                                      {"owner", 30},
                                                      {"ui", 30}};
    for (const auto& [name, width] : textFields) {
        OGRFieldDefn field(name, OFTString);
        field.SetWidth(width);
        table->CreateField(&field);
    }
    OGRFieldDefn useAsDefault("useAsDefault", OFTInteger);
    useAsDefault.SetSubType(OFSTBoolean);
    table->CreateField(&useAsDefault);
    OGRFieldDefn updated("update_time", OFTDateTime);
    updated.SetDefault("CURRENT_TIMESTAMP");
    table->CreateField(&updated);

    for (const auto& [layer, qml] : styles) {
        OGRFeature row(table->GetLayerDefn());
        row.SetField("f_table_catalog", "");
        row.SetField("f_table_schema", "");
        row.SetField("f_table_name", layer->GetName());
        row.SetField("f_geometry_column", layer->GetGeometryColumn());
        row.SetField("styleName", layer->GetName());
        row.SetField("styleQML", qml.c_str());
        row.SetField("useAsDefault", 1);
        row.SetField("description", std::string(description).c_str());
        row.SetField("owner", "");
        if (table->CreateFeature(&row) != OGRERR_NONE)
            return "the layer_styles table could not be written: " + gdal.lastError("");
    }
    return std::nullopt;
}

} // namespace vantrel::gis

#include "gis/style_table.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <utility>

namespace vantrel::gis {

std::optional<std::string> StoreLayerStyles(GDALDataset& dataset, const GdalSession& gdal,
                                            const std::vector<LayerStyle>& styles) {
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

    for (const LayerStyle& style : styles) {
        OGRFeature row(table->GetLayerDefn());
        row.SetField("f_table_catalog", "");
        row.SetField("f_table_schema", "");
        row.SetField("f_table_name", style.layer->GetName());
        row.SetField("f_geometry_column", style.layer->GetGeometryColumn());
        row.SetField("styleName", style.layer->GetName());
        row.SetField("styleQML", style.qml.c_str());
        row.SetField("useAsDefault", 1);
        row.SetField("description", style.description.c_str());
        row.SetField("owner", "");
        if (table->CreateFeature(&row) != OGRERR_NONE)
            return "the layer_styles table could not be written: " + gdal.lastError("");
    }
    return std::nullopt;
}

} // namespace vantrel::gis

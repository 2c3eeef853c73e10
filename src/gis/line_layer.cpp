#include "gis/line_layer.h"

#include "core/display/class_breaks.h"
#include "core/display/colour_scale.h"
#include "core/export/atomic_file.h"
#include "core/host/quoted_text.h"
#include "gis/layer_crs.h"
#include "gis/layer_writing.h"
#include "gis/qgis_style.h"
#include "gis/result_files.h"
#include "gis/style_table.h"

#include <ogr_geometry.h>
#include <ogr_spatialref.h>

namespace vantrel::gis {

namespace fs = std::filesystem;

namespace {

// The style on the values the styled column holds; empty when there is no such column.
std::string StyleOf(const LineLayer& layer, const LayerBuilder& builder) {
    const int field = builder.fieldIndexOf({}, layer.columns, layer.styledColumn);
    if (field < 0)
        return {};
    std::vector<double> values;
    const exports::MeasureColumn& column = layer.columns[static_cast<std::size_t>(field)];
    for (std::size_t index = 0; index < layer.lines.size(); ++index)
        if (const auto value = column.value(static_cast<int>(index)))
            values.push_back(*value);
    if (values.empty())
        return {};
    const bool someWithoutValue = values.size() < layer.lines.size();
    return QgisStyle(StyledGeometry::Line, builder.fieldName(field),
                     display::QuantileBreaks(std::move(values), display::kColourScaleEntries),
                     someWithoutValue);
}

std::optional<std::string> AddLines(GDALDataset& dataset, const LineLayer& layer,
                                    const GdalSession& gdal, std::string& style,
                                    OGRLayer*& written) {
    LayerCrs crs(layer.crsWkt);
    LayerBuilder builder(dataset, layer.name.c_str(), wkbLineString, crs.get(), nullptr, gdal);
    if (auto fault = builder.addFields({}, layer.columns))
        return fault;
    if (auto fault = builder.addLines(layer.lines, {}, layer.columns))
        return fault;
    style = StyleOf(layer, builder);
    written = &builder.layer();
    return std::nullopt;
}

} // namespace

std::string LineLayerFileName(const fs::path& target, const std::string& layer) {
    const ResultFormat& format = *ResultFormatOf(target);
    if (format.manyLayers)
        return target.filename().string();
    return target.stem().string() + "_" + layer + format.layerSuffix + target.extension().string();
}

std::optional<std::string> WriteLineLayer(const fs::path& folder, const fs::path& target,
                                          const LineLayer& layer) {
    const GdalSession gdal;
    const auto fail = [&](const std::string& why) {
        return "Could not write " + QuotedName(target) + ": " + why;
    };
    const ResultFormat* format = ResultFormatOf(target);
    GDALDriver* driver = format ? GetGDALDriverManager()->GetDriverByName(format->driver) : nullptr;
    if (!driver)
        return fail("GDAL cannot write this format");
    const fs::path file = folder / LineLayerFileName(target, layer.name);
    std::string style;
    {
        const GDALDatasetUniquePtr dataset(
            driver->Create(file.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        if (!dataset)
            return fail(gdal.lastError("the file could not be made"));
        if (format->manyLayers)
            dataset->StartTransaction();
        OGRLayer* written = nullptr;
        if (auto fault = AddLines(*dataset, layer, gdal, style, written))
            return fail(*fault);
        if (format->manyLayers) {
            if (!style.empty())
                if (auto fault = StoreLayerStyles(*dataset, gdal,
                                                  {{written, style, layer.styleDescription}}))
                    return fail(*fault);
            if (dataset->CommitTransaction() != OGRERR_NONE)
                return fail(gdal.lastError("the file could not be completed"));
            return std::nullopt;
        }
    }
    if (style.empty())
        return std::nullopt;
    return exports::WriteFileAtomically(fs::path(file).replace_extension(".qml"),
                                        [&style](std::ostream& out) { out << style; });
}

} // namespace vantrel::gis

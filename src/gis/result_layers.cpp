#include "gis/result_layers.h"

#include "core/display/class_breaks.h"
#include "core/display/colour_scale.h"
#include "core/export/atomic_file.h"
#include "core/export/measure_columns.h"
#include "core/host/quoted_text.h"
#include "gis/gdal_session.h"
#include "gis/layer_crs.h"
#include "gis/layer_writing.h"
#include "gis/qgis_style.h"
#include "gis/result_files.h"
#include "gis/style_table.h"

#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <vector>

namespace vantrel::gis {

namespace {

namespace fs = std::filesystem;
using exports::MeasureColumn;

constexpr const char* kAxialLayer = kAxialLayerName;
constexpr const char* kJunctionLayer = kJunctionLayerName;
// Integration [HH] at radius n: each item's own, whatever other groups the map holds. A map whose
// groups are too small for it to exist (pairs of lines) is coloured by integration instead.
constexpr const char* kStyledFields[] = {"integration_hh", "integration"};

// Writes one or both layers into `dataset`; `styles` hears each layer with its style.
class ResultWriter {
public:
    ResultWriter(const ResultLayers& results, const GdalSession& gdal)
        : m_results(results), m_gdal(gdal), m_crs(results.crsWkt) {}

    std::optional<std::string> axialLines(GDALDataset& dataset, std::string& style,
                                          OGRLayer*& written) {
        std::vector<ExtraField> extras;
        if (!m_results.featureIds.empty())
            extras.push_back({"source_fid", [this](int index) {
                                  return m_results.featureIds[static_cast<std::size_t>(index)];
                              }});
        const std::vector<MeasureColumn> columns = m_results.axial
                                                       ? exports::MeasureColumns(*m_results.axial)
                                                       : std::vector<MeasureColumn>{};
        LayerBuilder builder(dataset, kAxialLayer, wkbLineString, crs(), nullptr, m_gdal);
        if (auto fault = builder.addFields(extras, columns))
            return fault;
        if (auto fault = builder.addLines(m_results.lines, extras, columns))
            return fault;
        style = styleFor(builder, extras, columns, m_results.lines.size(), StyledGeometry::Line);
        noteRenamedFields(builder, extras, columns);
        written = &builder.layer();
        return std::nullopt;
    }

    std::optional<std::string> junctions(GDALDataset& dataset, std::string& style,
                                         OGRLayer*& written) {
        const std::span<const MapJunction> junctions = m_results.junctions;
        const std::vector<ExtraField> extras = {
            {"first_line",
             [junctions](int index) {
                 return std::int64_t{junctions[static_cast<std::size_t>(index)].firstLine};
             }},
            {"second_line", [junctions](int index) {
                 return std::int64_t{junctions[static_cast<std::size_t>(index)].secondLine};
             }}};
        const std::vector<MeasureColumn> columns = m_results.dual
                                                       ? exports::MeasureColumns(*m_results.dual)
                                                       : std::vector<MeasureColumn>{};
        // Junctions outnumber the lines three to one, and a GeoPackage's spatial index of them
        // would take longer to build than everything else written; QGIS draws them without one.
        const char* const noIndex[] = {"SPATIAL_INDEX=NO", nullptr};
        LayerBuilder builder(dataset, kJunctionLayer, wkbPoint, crs(), const_cast<char**>(noIndex),
                             m_gdal);
        if (auto fault = builder.addFields(extras, columns))
            return fault;
        for (std::size_t index = 0; index < junctions.size(); ++index) {
            OGRPoint point(junctions[index].x, junctions[index].y);
            if (auto fault = builder.add(point, static_cast<int>(index), extras, columns))
                return fault;
        }
        style = styleFor(builder, extras, columns, junctions.size(), StyledGeometry::Point);
        noteRenamedFields(builder, extras, columns);
        written = &builder.layer();
        return std::nullopt;
    }

private:
    OGRSpatialReference* crs() { return m_crs.get(); }

    // Classes of equal count of the first styled field with values; empty when there is none.
    static std::string styleFor(const LayerBuilder& builder, const std::vector<ExtraField>& extras,
                                const std::vector<MeasureColumn>& columns, std::size_t itemCount,
                                StyledGeometry geometry) {
        for (const char* name : kStyledFields) {
            const auto styled =
                std::find_if(columns.begin(), columns.end(),
                             [name](const MeasureColumn& column) { return column.name == name; });
            if (styled == columns.end())
                continue;
            std::vector<double> values;
            for (std::size_t index = 0; index < itemCount; ++index)
                if (const std::optional<double> value = styled->value(static_cast<int>(index)))
                    values.push_back(*value);
            if (values.empty())
                continue;
            const auto field = static_cast<int>(extras.size() + (styled - columns.begin()));
            const bool someWithoutValue = values.size() < itemCount;
            return QgisStyle(
                geometry, builder.fieldName(field),
                display::QuantileBreaks(std::move(values), display::kColourScaleEntries),
                someWithoutValue);
        }
        return {};
    }

    // A user must know which cut name is which column.
    void noteRenamedFields(const LayerBuilder& builder, const std::vector<ExtraField>& extras,
                           const std::vector<MeasureColumn>& columns) const {
        const std::string renamed = builder.renamedFields(extras, columns);
        if (!renamed.empty() && m_results.note)
            m_results.note("a Shapefile keeps field names of at most ten characters, so in " +
                           QuotedValue(builder.layerName()) + " " + renamed);
    }

    const ResultLayers& m_results;
    const GdalSession& m_gdal;
    LayerCrs m_crs;
};

// Whether `file` opens with all its features. GDAL's GeoJSON writer does not tell of a write that
// failed, as on a full disk: it leaves a file cut short.
bool ReadsBackWhole(const fs::path& file, const char* driver, std::size_t features) {
    const char* const drivers[] = {driver, nullptr};
    const GDALDatasetUniquePtr dataset(GDALDataset::Open(
        file.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, nullptr, nullptr));
    return dataset && dataset->GetLayerCount() == 1 &&
           dataset->GetLayer(0)->GetFeatureCount() == static_cast<GIntBig>(features);
}

using LayerWrite = std::optional<std::string> (ResultWriter::*)(GDALDataset&, std::string&,
                                                                OGRLayer*&);

} // namespace

bool IsLayerFileName(const fs::path& target) {
    return ResultFormatOf(target) != nullptr;
}

std::optional<std::string> WriteResultLayers(const fs::path& folder, const fs::path& target,
                                             const ResultLayers& results) {
    const GdalSession gdal;
    const ResultFormat& format = *ResultFormatOf(target);
    // Messages name the files as the user will find them, not in the folder they are made in.
    const auto shown = [&](std::string text) {
        const std::string made = folder.string(), placed = target.parent_path().string();
        for (std::size_t at = text.find(made); !made.empty() && at != std::string::npos;
             at = text.find(made, at + placed.size()))
            text.replace(at, made.size(), placed);
        return text;
    };
    const auto fail = [&](const std::string& why) {
        return "Could not write " + QuotedName(target) + ": " + shown(why);
    };
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(format.driver);
    if (!driver)
        return fail(std::string("GDAL has no ") + format.driver + " driver");
    ResultWriter writer(results, gdal);
    const auto create = [&](const fs::path& file) {
        return GDALDatasetUniquePtr(driver->Create(file.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    };
    const std::pair<const char*, LayerWrite> layers[] = {
        {kAxialLayer, &ResultWriter::axialLines}, {kJunctionLayer, &ResultWriter::junctions}};

    if (format.manyLayers) {
        const GDALDatasetUniquePtr dataset = create(folder / target.filename());
        if (!dataset)
            return fail(gdal.lastError("the file could not be made"));
        dataset->StartTransaction();
        std::vector<LayerStyle> styles;
        for (const auto& [name, write] : layers) {
            std::string style;
            OGRLayer* layer = nullptr;
            if (auto fault = (writer.*write)(*dataset, style, layer))
                return fail(*fault);
            if (!style.empty())
                styles.push_back(
                    {layer, std::move(style),
                     "Integration [HH] in 13 classes of equal count, red (high) to blue (low)"});
        }
        if (auto fault = StoreLayerStyles(*dataset, gdal, styles))
            return fail(*fault);
        if (dataset->CommitTransaction() != OGRERR_NONE)
            return fail(gdal.lastError("the file could not be completed"));
        return std::nullopt;
    }
    for (const auto& [name, write] : layers) {
        const fs::path file = folder / (target.stem().string() + "_" + name + format.layerSuffix +
                                        target.extension().string());
        std::string style;
        {
            GDALDatasetUniquePtr dataset = create(file);
            if (!dataset)
                return fail(gdal.lastError("the file could not be made"));
            OGRLayer* layer = nullptr;
            if (auto fault = (writer.*write)(*dataset, style, layer))
                return fail(*fault);
            // Some formats write what they hold back as the file closes.
            CPLErrorReset();
            dataset.reset();
            if (CPLGetLastErrorType() >= CE_Failure)
                return fail(gdal.lastError("the file could not be completed"));
        }
        const std::size_t features =
            std::string_view(name) == kAxialLayer ? results.lines.size() : results.junctions.size();
        if (!ReadsBackWhole(file, format.driver, features))
            return fail("it was not written whole; the disk may be full");
        if (!style.empty())
            if (auto fault =
                    exports::WriteFileAtomically(fs::path(file).replace_extension(".qml"),
                                                 [&style](std::ostream& out) { out << style; }))
                return shown(*fault);
    }
    return std::nullopt;
}

} // namespace vantrel::gis

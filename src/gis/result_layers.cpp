#include "gis/result_layers.h"

#include "core/export/atomic_file.h"
#include "core/export/measure_columns.h"
#include "core/host/quoted_text.h"
#include "gis/gdal_session.h"
#include "gis/layer_builder.h"
#include "gis/qgis_style.h"

#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <vector>

namespace vantrel::gis {

namespace {

namespace fs = std::filesystem;
using exports::MeasureColumn;

constexpr char kAxialLayer[] = "axial_lines";
constexpr char kJunctionLayer[] = "junctions";
constexpr char kStyledField[] = "integration";
constexpr char kStyleDescription[] = "Integration, red (high) to blue (low)";

// Writes one or both layers into `dataset`; `styles` hears each layer with its style.
class ResultWriter {
public:
    ResultWriter(const ResultLayers& results, const GdalSession& gdal)
        : m_results(results), m_gdal(gdal) {
        if (!results.crsWkt.empty() && m_crs.importFromWkt(results.crsWkt.c_str()) == OGRERR_NONE) {
            m_crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
            m_hasCrs = true;
        }
    }

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
        OGRLineString line;
        line.setNumPoints(2);
        for (std::size_t index = 0; index < m_results.lines.size(); ++index) {
            const MapLine& axial = m_results.lines[index];
            line.setPoint(0, axial.x1, axial.y1);
            line.setPoint(1, axial.x2, axial.y2);
            if (auto fault = builder.add(line, static_cast<int>(index), extras, columns))
                return fault;
        }
        style = styleFor(builder, extras, columns, StyledGeometry::Line);
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
        style = styleFor(builder, extras, columns, StyledGeometry::Point);
        written = &builder.layer();
        return std::nullopt;
    }

private:
    OGRSpatialReference* crs() { return m_hasCrs ? &m_crs : nullptr; }

    // Empty when the layer has no integration to colour by.
    static std::string styleFor(const LayerBuilder& builder, const std::vector<ExtraField>& extras,
                                const std::vector<MeasureColumn>& columns,
                                StyledGeometry geometry) {
        const int field = builder.fieldIndexOf(extras, columns, kStyledField);
        return field < 0 ? std::string() : QgisStyle(geometry, builder.fieldName(field));
    }

    const ResultLayers& m_results;
    const GdalSession& m_gdal;
    OGRSpatialReference m_crs;
    bool m_hasCrs = false;
};

using LayerWrite = std::optional<std::string> (ResultWriter::*)(GDALDataset&, std::string&,
                                                                OGRLayer*&);

} // namespace

bool IsLayerFileName(const fs::path& target) {
    return FormatOf(target) != nullptr;
}

std::optional<std::string> WriteResultLayers(const fs::path& folder, const fs::path& target,
                                             const ResultLayers& results) {
    const GdalSession gdal;
    const Format& format = *FormatOf(target);
    const auto fail = [&](const std::string& why) {
        return "Could not write " + QuotedName(target) + ": " + why;
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
        std::vector<std::pair<OGRLayer*, std::string>> styles;
        for (const auto& [name, write] : layers) {
            std::string style;
            OGRLayer* layer = nullptr;
            if (auto fault = (writer.*write)(*dataset, style, layer))
                return fail(*fault);
            if (!style.empty())
                styles.emplace_back(layer, std::move(style));
        }
        if (auto fault = StoreStyles(*dataset, gdal, styles, kStyleDescription))
            return fail(*fault);
        if (dataset->CommitTransaction() != OGRERR_NONE)
            return fail(gdal.lastError("the file could not be completed"));
        return std::nullopt;
    }
    for (const auto& [name, write] : layers) {
        const fs::path file =
            folder / (target.stem().string() + "_" + name + target.extension().string());
        std::string style;
        {
            const GDALDatasetUniquePtr dataset = create(file);
            if (!dataset)
                return fail(gdal.lastError("the file could not be made"));
            OGRLayer* layer = nullptr;
            if (auto fault = (writer.*write)(*dataset, style, layer))
                return fail(*fault);
        }
        if (!style.empty())
            if (auto fault =
                    exports::WriteFileAtomically(fs::path(file).replace_extension(".qml"),
                                                 [&style](std::ostream& out) { out << style; }))
                return fault;
    }
    return std::nullopt;
}

} // namespace vantrel::gis

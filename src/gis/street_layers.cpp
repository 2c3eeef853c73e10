#include "gis/street_layers.h"

#include "core/export/atomic_file.h"
#include "core/host/quoted_text.h"
#include "gis/gdal_session.h"
#include "gis/layer_crs.h"
#include "gis/layer_writing.h"
#include "gis/qgis_style.h"
#include "gis/result_files.h"
#include "gis/result_layers.h"
#include "gis/style_table.h"

#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <vector>

namespace vantrel::gis {

namespace {

namespace fs = std::filesystem;
using streets::Problem;
using streets::ProblemType;

constexpr char kSourceField[] = "source_fid";

display::Rgb ColourOf(ProblemType type) {
    switch (type) {
    case ProblemType::UnconnectedEnd:
        return {228, 26, 28};
    case ProblemType::VeryShortSegment:
        return {255, 127, 0};
    case ProblemType::Duplicate:
        return {152, 78, 163};
    case ProblemType::Overlap:
        return {55, 126, 184};
    case ProblemType::SmallGroup:
        return {77, 175, 74};
    case ProblemType::SelfCrossing:
        return {247, 129, 191};
    }
    return {};
}

std::string Qml(const std::string& renderer) {
    return "<!DOCTYPE qgis PUBLIC 'http://mrcc.com/qgis.dtd' 'SYSTEM'>\n"
           "<qgis version=\"3.28.0\" styleCategories=\"Symbology\">\n" +
           renderer + "</qgis>\n";
}

class StreetWriter {
public:
    StreetWriter(const StreetLayers& layers, const GdalSession& gdal)
        : m_layers(layers), m_gdal(gdal), m_crs(layers.crsWkt) {}

    std::optional<std::string> segments(GDALDataset& dataset, OGRLayer*& made) {
        const std::vector<ExtraField> extras = {
            {kSourceField,
             [this](int index) { return m_layers.sources[static_cast<std::size_t>(index)]; }}};
        LayerBuilder builder(dataset, kSegmentsLayer, wkbLineString, crs(), nullptr, m_gdal);
        if (auto fault = builder.addFields(extras, {}))
            return fault;
        made = &builder.layer();
        return builder.addLines(m_layers.segments, extras, {});
    }

    // Every problem at a point (a line's middle), or the problems that are lines as lines.
    std::optional<std::string> problems(GDALDataset& dataset, bool lines, OGRLayer*& made) {
        const char* name = lines ? kProblemLinesLayer : kProblemsLayer;
        made = dataset.CreateLayer(name, crs(), lines ? wkbLineString : wkbPoint, nullptr);
        if (auto fault = addFields(made, name,
                                   {{"type", OFTString},
                                    {"status", OFTString},
                                    {"value", OFTReal},
                                    {kSourceField, OFTInteger64}}))
            return fault;
        for (const Problem& problem : m_layers.problems) {
            if (lines && problem.isPoint())
                continue;
            const MapLine& at = problem.where;
            OGRFeature feature(made->GetLayerDefn());
            if (lines) {
                OGRLineString line;
                line.addPoint(at.x1, at.y1);
                line.addPoint(at.x2, at.y2);
                feature.SetGeometry(&line);
            } else {
                OGRPoint point((at.x1 + at.x2) / 2, (at.y1 + at.y2) / 2);
                feature.SetGeometry(&point);
            }
            feature.SetField(0, std::string(streets::ProblemTypeName(problem.type)).c_str());
            feature.SetField(1, problem.fixed ? "fixed" : "check");
            feature.SetField(2, problem.value);
            feature.SetField(3, static_cast<GIntBig>(problem.source));
            if (made->CreateFeature(&feature) != OGRERR_NONE)
                return failure(name, "a feature could not be written");
        }
        return std::nullopt;
    }

private:
    OGRSpatialReference* crs() { return m_crs.get(); }

    std::optional<std::string>
    addFields(OGRLayer* layer, const char* name,
              const std::vector<std::pair<const char*, OGRFieldType>>& fields) const {
        if (!layer)
            return failure(name, "the layer could not be made");
        for (const auto& [field, type] : fields) {
            OGRFieldDefn definition(field, type);
            if (layer->CreateField(&definition) != OGRERR_NONE)
                return failure(name, "the field " + QuotedValue(field) + " could not be made");
        }
        return std::nullopt;
    }

    std::string failure(const char* layer, const std::string& what) const {
        return "layer " + QuotedValue(layer) + ": " + m_gdal.lastError(what);
    }

    const StreetLayers& m_layers;
    const GdalSession& m_gdal;
    LayerCrs m_crs;
};

struct LayerPlan {
    enum class Kind { Segments, ProblemPoints, ProblemLines } kind;
    const char* name;
    std::string style;
    const char* description;
};

} // namespace

std::string SegmentStyle() {
    return Qml("  <renderer-v2 type=\"singleSymbol\" symbollevels=\"0\" forceraster=\"0\" "
               "enableorderby=\"0\">\n    <symbols>\n" +
               QgisSymbol(StyledGeometry::Line, 0, {80, 80, 80}) +
               "    </symbols>\n  </renderer-v2>\n");
}

std::string ProblemStyle(bool lines) {
    std::string categories, symbols;
    int index = 0;
    for (const ProblemType type : streets::kProblemTypes) {
        const std::string name(streets::ProblemTypeName(type));
        categories += "      <category render=\"true\" symbol=\"" + std::to_string(index) +
                      "\" value=\"" + name + "\" label=\"" + name + "\"/>\n";
        symbols +=
            QgisSymbol(lines ? StyledGeometry::Line : StyledGeometry::Point, index, ColourOf(type));
        ++index;
    }
    return Qml("  <renderer-v2 type=\"categorizedSymbol\" attr=\"type\" symbollevels=\"0\" "
               "forceraster=\"0\" enableorderby=\"0\">\n    <categories>\n" +
               categories + "    </categories>\n    <symbols>\n" + symbols +
               "    </symbols>\n  </renderer-v2>\n");
}

std::optional<std::string> WriteStreetLayers(const fs::path& folder, const fs::path& target,
                                             const StreetLayers& layers) {
    const GdalSession gdal;
    const ResultFormat& format = *ResultFormatOf(target);
    const auto fail = [&](const std::string& why) {
        return "Could not write " + QuotedName(target) + ": " + why;
    };
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(format.driver);
    if (!driver)
        return fail(std::string("GDAL has no ") + format.driver + " driver");
    StreetWriter writer(layers, gdal);
    using Kind = LayerPlan::Kind;
    const LayerPlan plans[] = {
        {Kind::Segments, kSegmentsLayer, SegmentStyle(), "Prepared segments"},
        {Kind::ProblemPoints, kProblemsLayer, ProblemStyle(false), "Problems by type"},
        {Kind::ProblemLines, kProblemLinesLayer, ProblemStyle(true), "Problems by type"}};
    const auto write = [&](GDALDataset& dataset, const LayerPlan& plan, OGRLayer*& made) {
        if (plan.kind == Kind::Segments)
            return writer.segments(dataset, made);
        return writer.problems(dataset, plan.kind == Kind::ProblemLines, made);
    };
    const auto create = [&](const fs::path& file) {
        return GDALDatasetUniquePtr(driver->Create(file.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    };

    if (format.manyLayers) {
        const GDALDatasetUniquePtr dataset = create(folder / target.filename());
        if (!dataset)
            return fail(gdal.lastError("the file could not be made"));
        dataset->StartTransaction();
        std::vector<LayerStyle> styles;
        for (const LayerPlan& plan : plans) {
            OGRLayer* made = nullptr;
            if (auto fault = write(*dataset, plan, made))
                return fail(*fault);
            styles.push_back({made, plan.style, plan.description});
        }
        if (auto fault = StoreLayerStyles(*dataset, gdal, styles))
            return fail(*fault);
        if (dataset->CommitTransaction() != OGRERR_NONE)
            return fail(gdal.lastError("the file could not be completed"));
        return std::nullopt;
    }
    for (const LayerPlan& plan : plans) {
        const fs::path file =
            folder / (target.stem().string() + "_" + plan.name + target.extension().string());
        {
            const GDALDatasetUniquePtr dataset = create(file);
            if (!dataset)
                return fail(gdal.lastError("the file could not be made"));
            OGRLayer* made = nullptr;
            if (auto fault = write(*dataset, plan, made))
                return fail(*fault);
        }
        if (auto fault =
                exports::WriteFileAtomically(fs::path(file).replace_extension(".qml"),
                                             [&plan](std::ostream& out) { out << plan.style; }))
            return fault;
    }
    return std::nullopt;
}

} // namespace vantrel::gis

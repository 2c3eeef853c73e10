#include "gis/layer_reader.h"

#include "core/geometry/orientation.h"
#include "core/host/quoted_text.h"
#include "gis/gdal_session.h"

#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogrsf_frmts.h>

namespace vantrel::gis {

namespace {

bool IsLineType(OGRwkbGeometryType type, LineSources sources) {
    const OGRwkbGeometryType flat = wkbFlatten(type);
    return flat == wkbLineString || flat == wkbMultiLineString ||
           (sources == LineSources::LineStringsAndRings &&
            (flat == wkbPolygon || flat == wkbMultiPolygon));
}

// A layer holds lines when it says so, or, for layers of mixed or unknown geometry such as DXF
// and GeoJSON, when one of its features is a line.
bool HoldsLines(OGRLayer& layer, LineSources sources) {
    const OGRwkbGeometryType declared = wkbFlatten(layer.GetGeomType());
    if (IsLineType(declared, sources))
        return true;
    if (declared != wkbUnknown && declared != wkbGeometryCollection)
        return false;
    layer.ResetReading();
    for (const auto& feature : layer) {
        const OGRGeometry* geometry = feature->GetGeometryRef();
        if (geometry && IsLineType(geometry->getGeometryType(), sources))
            return true;
    }
    return false;
}

// The line strings of a geometry: itself, its parts, or its polygons' rings.
std::vector<const OGRLineString*> LineStringsOf(const OGRGeometry& geometry) {
    std::vector<const OGRLineString*> parts;
    const auto addPolygon = [&parts](const OGRPolygon& polygon) {
        for (const OGRLinearRing* ring : polygon)
            parts.push_back(ring);
    };
    switch (wkbFlatten(geometry.getGeometryType())) {
    case wkbLineString:
        parts.push_back(geometry.toLineString());
        break;
    case wkbMultiLineString:
        for (const OGRLineString* part : *geometry.toMultiLineString())
            parts.push_back(part);
        break;
    case wkbPolygon:
        addPolygon(*geometry.toPolygon());
        break;
    case wkbMultiPolygon:
        for (const OGRPolygon* polygon : *geometry.toMultiPolygon())
            addPolygon(*polygon);
        break;
    default:
        break;
    }
    return parts;
}

std::string NameList(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + QuotedValue(name);
    return text;
}

std::string CrsName(const OGRSpatialReference& crs) {
    const char* authority = crs.GetAuthorityName(nullptr);
    const char* code = crs.GetAuthorityCode(nullptr);
    if (authority && code)
        return std::string(authority) + ":" + code;
    const char* name = crs.GetName();
    return name ? name : "an unnamed system";
}

class LineCollector {
public:
    LineCollector(LayerLines& layer, LineSources sources) : m_layer(layer), m_sources(sources) {}

    // False when a coordinate cannot be held; `fault` then says which feature.
    bool add(const OGRFeature& feature, std::string& fault) {
        const OGRGeometry* geometry = feature.GetGeometryRef();
        if (!geometry || geometry->IsEmpty() ||
            !IsLineType(geometry->getGeometryType(), m_sources)) {
            ++m_layer.skippedFeatures;
            return true;
        }
        const std::vector<const OGRLineString*> parts = LineStringsOf(*geometry);
        int pieces = 0;
        for (const OGRLineString* part : parts)
            pieces += std::max(part->getNumPoints() - 1, 0);
        if (pieces == 0) {
            ++m_layer.skippedFeatures;
            return true;
        }
        const std::size_t first = m_layer.lines.size();
        for (const OGRLineString* part : parts) {
            for (int vertex = 0; vertex + 1 < part->getNumPoints(); ++vertex) {
                const double x1 = part->getX(vertex), y1 = part->getY(vertex);
                const double x2 = part->getX(vertex + 1), y2 = part->getY(vertex + 1);
                for (const double value : {x1, y1, x2, y2}) {
                    if (!geometry::IsExactCoordinate(value)) {
                        fault = "feature " + std::to_string(feature.GetFID()) +
                                " has a coordinate that is not 0 or a number between 1e-100 and "
                                "1e100 in size";
                        return false;
                    }
                }
                // A repeated vertex of a longer line is no piece of it.
                if (pieces > 1 && x1 == x2 && y1 == y2)
                    continue;
                m_layer.lines.push_back({x1, y1, x2, y2});
                m_layer.featureIds.push_back(feature.GetFID());
            }
        }
        const auto made = static_cast<int>(m_layer.lines.size() - first);
        if (made > 1) {
            ++m_layer.splitFeatures;
            m_layer.linesFromSplits += made;
        }
        return true;
    }

private:
    LayerLines& m_layer;
    LineSources m_sources;
};

} // namespace

LayerReading ReadLayerLines(const std::filesystem::path& file, const std::string& layerName,
                            LineSources sources) {
    const GdalSession gdal;
    const std::string fileName = QuotedName(file);
    const auto fail = [](std::string error) {
        return LayerReading{std::nullopt, std::move(error)};
    };
    const GDALDatasetUniquePtr dataset(
        GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!dataset)
        return fail("Could not read " + fileName + ": " +
                    gdal.lastError("it is not a vector dataset GDAL can open"));

    OGRLayer* layer = nullptr;
    if (!layerName.empty()) {
        layer = dataset->GetLayerByName(layerName.c_str());
        if (!layer) {
            std::vector<std::string> names;
            for (OGRLayer* each : dataset->GetLayers())
                names.push_back(each->GetName());
            return fail(fileName + " has no layer " + QuotedValue(layerName) +
                        (names.empty() ? "" : "; its layers are " + NameList(names)));
        }
        if (!HoldsLines(*layer, sources))
            return fail("The layer " + QuotedValue(layerName) + " of " + fileName +
                        " holds no lines");
    } else {
        std::vector<std::string> names;
        for (OGRLayer* each : dataset->GetLayers()) {
            if (HoldsLines(*each, sources)) {
                names.push_back(each->GetName());
                layer = layer ? layer : each;
            }
        }
        if (names.empty())
            return fail(fileName + " holds no layer of lines");
        if (names.size() > 1)
            return fail(fileName + " holds " + std::to_string(names.size()) + " layers of lines, " +
                        NameList(names) + "; choose one with --layer");
    }

    LayerLines lines;
    lines.layerName = layer->GetName();
    if (const OGRSpatialReference* crs = layer->GetSpatialRef()) {
        char* wkt = nullptr;
        if (crs->exportToWkt(&wkt) == OGRERR_NONE && wkt)
            lines.crsWkt = wkt;
        CPLFree(wkt);
        lines.crsName = CrsName(*crs);
        lines.geographic = crs->IsGeographic();
    }
    LineCollector collector(lines, sources);
    layer->ResetReading();
    for (const auto& feature : *layer) {
        std::string fault;
        if (!collector.add(*feature, fault))
            return fail("The layer " + QuotedValue(lines.layerName) + " of " + fileName + ": " +
                        fault);
    }
    if (lines.lines.empty())
        return fail("The layer " + QuotedValue(lines.layerName) + " of " + fileName +
                    " holds no lines");
    return {std::move(lines), {}};
}

} // namespace vantrel::gis

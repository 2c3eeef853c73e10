#include "gis/layer_reader.h"

#include "core/geometry/orientation.h"
#include "core/host/quoted_text.h"
#include "gis/gdal_session.h"

#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogrsf_frmts.h>

#include <memory>
#include <vector>

namespace vantrel::gis {

namespace {

// Straight or curved lines, one or many; with LineStringsAndRings, polygons too.
bool IsLineType(OGRwkbGeometryType type, LineSources sources) {
    const OGRwkbGeometryType flat = wkbFlatten(type);
    return OGR_GT_IsSubClassOf(flat, wkbCurve) || OGR_GT_IsSubClassOf(flat, wkbMultiCurve) ||
           (sources == LineSources::LineStringsAndRings &&
            (OGR_GT_IsSubClassOf(flat, wkbCurvePolygon) ||
             OGR_GT_IsSubClassOf(flat, wkbMultiSurface)));
}

// A line, or a collection that holds one.
bool HasLines(const OGRGeometry& geometry, LineSources sources) {
    if (IsLineType(geometry.getGeometryType(), sources))
        return true;
    if (!OGR_GT_IsSubClassOf(wkbFlatten(geometry.getGeometryType()), wkbGeometryCollection))
        return false;
    for (const OGRGeometry* member : *geometry.toGeometryCollection())
        if (HasLines(*member, sources))
            return true;
    return false;
}

// The line strings of a geometry: itself, the parts of a multi-line, the lines of a collection,
// with LineStringsAndRings the rings of its polygons, every curve replaced by the straight pieces
// GDAL approximates it with, kept in `owned`.
void CollectLineStrings(const OGRGeometry& geometry, LineSources sources,
                        std::vector<const OGRLineString*>& parts,
                        std::vector<std::unique_ptr<OGRGeometry>>& owned, bool& curved) {
    const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
    if (type == wkbLineString) {
        parts.push_back(geometry.toLineString());
    } else if (OGR_GT_IsSubClassOf(type, wkbCurve)) {
        curved = true;
        owned.emplace_back(geometry.getLinearGeometry());
        parts.push_back(owned.back()->toLineString());
    } else if (sources == LineSources::LineStringsAndRings &&
               OGR_GT_IsSubClassOf(type, wkbCurvePolygon)) {
        const OGRPolygon* polygon = nullptr;
        if (type == wkbPolygon) {
            polygon = geometry.toPolygon();
        } else {
            curved = true;
            owned.emplace_back(geometry.getLinearGeometry());
            polygon = owned.back()->toPolygon();
        }
        for (const OGRLinearRing* ring : *polygon)
            parts.push_back(ring);
    } else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
        for (const OGRGeometry* member : *geometry.toGeometryCollection())
            CollectLineStrings(*member, sources, parts, owned, curved);
    }
}

// A layer holds lines when it says so, or, for layers of mixed or unknown geometry such as DXF
// and GeoJSON, when one of its features holds a line.
bool HoldsLines(OGRLayer& layer, LineSources sources) {
    const OGRwkbGeometryType declared = wkbFlatten(layer.GetGeomType());
    if (IsLineType(declared, sources))
        return true;
    if (declared != wkbUnknown && declared != wkbGeometryCollection)
        return false;
    layer.ResetReading();
    for (const auto& feature : layer) {
        const OGRGeometry* geometry = feature->GetGeometryRef();
        if (geometry && HasLines(*geometry, sources))
            return true;
    }
    return false;
}

// A layer of lines that holds no feature, such as the relations layer of an OpenStreetMap file
// without relations, is no choice.
bool HasFeatures(OGRLayer& layer) {
    layer.ResetReading();
    return OGRFeatureUniquePtr(layer.GetNextFeature()) != nullptr;
}

// GeoPackage's "Undefined geographic SRS" (srs_id 0) and "Undefined Cartesian SRS" (srs_id -1)
// say that the layer has no known system.
bool IsUndefined(const OGRSpatialReference& crs) {
    const char* name = crs.GetName();
    return !crs.GetAuthorityName(nullptr) && name && EQUALN(name, "Undefined", 9);
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

    // False when a coordinate cannot be held; `fault` then says which feature. A feature whose
    // reading failed is counted as damaged, whatever it holds.
    bool add(const OGRFeature& feature, bool damaged, std::string& fault) {
        if (damaged) {
            m_layer.damagedFeatures.push_back(feature.GetFID());
            return true;
        }
        const OGRGeometry* geometry = feature.GetGeometryRef();
        if (!geometry || geometry->IsEmpty() || !HasLines(*geometry, m_sources)) {
            ++m_layer.skippedFeatures;
            return true;
        }
        std::vector<const OGRLineString*> parts;
        std::vector<std::unique_ptr<OGRGeometry>> linearised;
        bool curved = false;
        CollectLineStrings(*geometry, m_sources, parts, linearised, curved);
        m_layer.curvedFeatures += curved ? 1 : 0;
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

std::string DamagedFeaturesNote(const std::vector<std::int64_t>& ids) {
    constexpr std::size_t kListed = 10;
    std::string text = std::to_string(ids.size()) +
                       (ids.size() == 1 ? " feature is damaged and was skipped"
                                        : " features are damaged and were skipped") +
                       " (GDAL cannot read " + (ids.size() == 1 ? "its" : "their") +
                       " geometry): feature " + (ids.size() == 1 ? "id" : "ids");
    for (std::size_t listed = 0; listed < ids.size() && listed < kListed; ++listed)
        text += (listed == 0 ? " " : ", ") + std::to_string(ids[listed]);
    if (ids.size() > kListed)
        text += ", ...";
    return text;
}

LayerReading ReadLayerLines(const std::filesystem::path& file, const std::string& layerName,
                            LineSources sources, const std::string& attributeFilter) {
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
            if (HoldsLines(*each, sources) && HasFeatures(*each)) {
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

    // The OSM driver reads the whole file for any layer and, unless told which layers matter,
    // stops quietly once too many features of the others have piled up.
    if (EQUAL(dataset->GetDriverName(), "OSM"))
        dataset->ExecuteSQL(("SET interest_layers = " + std::string(layer->GetName())).c_str(),
                            nullptr, nullptr);
    if (!attributeFilter.empty() &&
        layer->SetAttributeFilter(attributeFilter.c_str()) != OGRERR_NONE)
        return fail("The layer " + QuotedValue(layer->GetName()) + " of " + fileName +
                    " cannot be filtered by " + QuotedValue(attributeFilter) + ": " +
                    gdal.lastError("the filter is not understood"));
    LayerLines lines;
    lines.layerName = layer->GetName();
    const OGRSpatialReference* crs = layer->GetSpatialRef();
    if (crs && !IsUndefined(*crs)) {
        char* wkt = nullptr;
        if (crs->exportToWkt(&wkt) == OGRERR_NONE && wkt)
            lines.crsWkt = wkt;
        CPLFree(wkt);
        lines.crsName = CrsName(*crs);
        lines.geographic = crs->IsGeographic();
    }
    LineCollector collector(lines, sources);
    layer->ResetReading();
    // GDAL tells of a feature it cannot read while it fetches it, and gives it without geometry.
    CPLErrorReset();
    for (const auto& feature : *layer) {
        std::string fault;
        if (!collector.add(*feature, CPLGetLastErrorType() >= CE_Failure, fault))
            return fail("The layer " + QuotedValue(lines.layerName) + " of " + fileName + ": " +
                        fault);
        CPLErrorReset();
    }
    if (lines.lines.empty())
        return fail(
            "The layer " + QuotedValue(lines.layerName) + " of " + fileName + " holds no lines" +
            (attributeFilter.empty() ? "" : " where " + attributeFilter) +
            (lines.damagedFeatures.empty() ? std::string()
                                           : "; " + DamagedFeaturesNote(lines.damagedFeatures)));
    return {std::move(lines), {}};
}

LineLayerList ListLineLayers(const std::filesystem::path& file) {
    const GdalSession gdal;
    const GDALDatasetUniquePtr dataset(
        GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!dataset)
        return {{},
                "Could not read " + QuotedName(file) + ": " +
                    gdal.lastError("it is not a vector dataset GDAL can open")};
    LineLayerList list;
    for (OGRLayer* layer : dataset->GetLayers()) {
        if (!HoldsLines(*layer, LineSources::LineStrings))
            continue;
        std::int64_t count = 0;
        layer->ResetReading();
        while (OGRFeatureUniquePtr(layer->GetNextFeature()))
            ++count;
        if (count > 0)
            list.layers.push_back({layer->GetName(), count});
    }
    return list;
}

} // namespace vantrel::gis

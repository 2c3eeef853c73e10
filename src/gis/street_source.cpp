#include "gis/street_source.h"

#include "core/host/quoted_text.h"
#include "gis/gdal_session.h"

#include <ogr_spatialref.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <memory>

namespace vantrel::gis {

namespace {

constexpr std::string_view kDefaultHighways[] = {
    "motorway",     "motorway_link", "trunk",          "trunk_link", "primary",
    "primary_link", "secondary",     "secondary_link", "tertiary",   "tertiary_link",
    "unclassified", "residential",   "living_street",  "service",    "pedestrian",
    "track",        "road",          "footway",        "path",       "cycleway",
    "bridleway",    "steps"};

std::string NameOf(const OGRSpatialReference& crs) {
    const char* authority = crs.GetAuthorityName(nullptr);
    const char* code = crs.GetAuthorityCode(nullptr);
    const char* name = crs.GetName();
    std::string text = authority && code ? std::string(authority) + ":" + code : "";
    if (name && *name)
        text += text.empty() ? std::string(name) : " (" + std::string(name) + ")";
    return text.empty() ? "an unnamed system" : text;
}

double LinearUnits(const OGRSpatialReference& crs, std::string& unitName) {
    const char* name = nullptr;
    const double metres = crs.GetLinearUnits(&name);
    if (name)
        unitName = name;
    return metres > 0 ? metres : 1;
}

// The UTM zone of WGS 84 that holds the middle of the map, by its EPSG code.
int UtmZoneCode(const std::vector<MapLine>& lines, double& degreesAcross) {
    double west = std::numeric_limits<double>::infinity(), east = -west;
    double south = west, north = -west;
    for (const MapLine& line : lines) {
        west = std::min({west, line.x1, line.x2});
        east = std::max({east, line.x1, line.x2});
        south = std::min({south, line.y1, line.y2});
        north = std::max({north, line.y1, line.y2});
    }
    degreesAcross = east - west;
    const double longitude = (west + east) / 2, latitude = (south + north) / 2;
    const int zone = std::clamp(static_cast<int>(std::floor((longitude + 180) / 6)) + 1, 1, 60);
    return (latitude >= 0 ? 32600 : 32700) + zone;
}

} // namespace

bool IsOpenStreetMapFile(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".osm" || extension == ".pbf";
}

std::span<const std::string_view> DefaultHighways() {
    return kDefaultHighways;
}

bool IsHighwayClass(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '_' || c == ':';
    });
}

std::string HighwayFilter(std::span<const std::string> classes) {
    if (classes.empty())
        return "highway IS NOT NULL";
    std::string filter = "highway IN (";
    for (std::size_t at = 0; at < classes.size(); ++at)
        filter += (at == 0 ? "'" : ", '") + classes[at] + "'";
    return filter + ")";
}

Projecting ProjectLines(std::vector<MapLine>& lines, const std::string& crsWkt,
                        const std::string& toCrs) {
    const GdalSession gdal;
    const auto fail = [](std::string error) { return Projecting{std::nullopt, std::move(error)}; };
    OGRSpatialReference source;
    const bool hasSource = !crsWkt.empty() && source.importFromWkt(crsWkt.c_str()) == OGRERR_NONE;
    source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    ProjectedMap map;
    OGRSpatialReference target;
    if (!toCrs.empty()) {
        if (target.SetFromUserInput(toCrs.c_str()) != OGRERR_NONE)
            return fail("--to-crs: " + QuotedValue(toCrs) +
                        " is not a coordinate reference system GDAL knows");
        if (!target.IsProjected())
            return fail("--to-crs needs a projected coordinate reference system, in metres or "
                        "feet; " +
                        QuotedValue(toCrs) + " is " +
                        (target.IsGeographic() ? "in degrees" : "not projected"));
        if (!hasSource)
            return fail("the map has no coordinate reference system, so it cannot be projected "
                        "to " +
                        QuotedValue(toCrs));
    } else if (hasSource && source.IsGeographic() && !lines.empty()) {
        double degreesAcross = 0;
        target.importFromEPSG(UtmZoneCode(lines, degreesAcross));
        map.utmZone = true;
        map.degreesAcross = degreesAcross;
    } else {
        map.crsWkt = crsWkt;
        map.mayBeDegrees =
            !hasSource && std::all_of(lines.begin(), lines.end(), [](const MapLine& line) {
                return std::fabs(line.x1) <= 180 && std::fabs(line.x2) <= 180 &&
                       std::fabs(line.y1) <= 90 && std::fabs(line.y2) <= 90;
            });
        if (hasSource) {
            map.crsName = NameOf(source);
            if (source.IsProjected())
                map.metresPerUnit = LinearUnits(source, map.unitName);
        }
        return {std::move(map), {}};
    }
    target.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const std::unique_ptr<OGRCoordinateTransformation> transform(
        OGRCreateCoordinateTransformation(&source, &target));
    if (!transform)
        return fail("the map cannot be projected from " + NameOf(source) + " to " + NameOf(target) +
                    ": " + gdal.lastError("GDAL knows no way between them"));
    const std::size_t count = 2 * lines.size();
    std::vector<double> xs(count), ys(count);
    for (std::size_t at = 0; at < lines.size(); ++at) {
        xs[2 * at] = lines[at].x1;
        ys[2 * at] = lines[at].y1;
        xs[2 * at + 1] = lines[at].x2;
        ys[2 * at + 1] = lines[at].y2;
    }
    std::vector<int> done(count, FALSE);
    transform->Transform(count, xs.data(), ys.data(), nullptr, done.data());
    for (std::size_t at = 0; at < count; ++at) {
        if (!done[at] || !std::isfinite(xs[at]) || !std::isfinite(ys[at])) {
            const MapLine& line = lines[at / 2];
            return fail("the map cannot be projected to " + NameOf(target) +
                        ": GDAL could not project its point (" +
                        std::to_string(at % 2 ? line.x2 : line.x1) + ", " +
                        std::to_string(at % 2 ? line.y2 : line.y1) + ")");
        }
    }
    for (std::size_t at = 0; at < lines.size(); ++at)
        lines[at] = {xs[2 * at], ys[2 * at], xs[2 * at + 1], ys[2 * at + 1]};
    char* wkt = nullptr;
    if (target.exportToWkt(&wkt) == OGRERR_NONE && wkt)
        map.crsWkt = wkt;
    CPLFree(wkt);
    map.crsName = NameOf(target);
    map.fromName = hasSource ? NameOf(source) : "";
    map.metresPerUnit = LinearUnits(target, map.unitName);
    return {std::move(map), {}};
}

} // namespace vantrel::gis

// Raw street data as GDAL gives it: OpenStreetMap files, the highway classes worth reading from
// them, and coordinates in degrees brought into metres.
#pragma once

#include "core/app/project_state.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::gis {

// .osm and .osm.pbf (any .pbf) files, which GDAL's OSM driver reads.
bool IsOpenStreetMapFile(const std::filesystem::path& file);

// The layer of an OpenStreetMap file that holds its ways.
inline constexpr std::string_view kOsmWaysLayer = "lines";

// The highway classes people walk or drive on: roads of every rank and their links, residential
// and service roads, tracks, footways, paths, cycleways, bridleways, steps and pedestrian
// streets; not proposed or abandoned roads, roads under construction, platforms or areas.
std::span<const std::string_view> DefaultHighways();

// True for a name that can be an OpenStreetMap highway class (letters, digits, _ and :).
bool IsHighwayClass(std::string_view name);

// The attribute filter of the OSM driver's ways layer that keeps these highway classes; every
// way with a highway tag when `classes` is empty.
std::string HighwayFilter(std::span<const std::string> classes);

struct ProjectedMap {
    // The system the lines are in afterwards, as WKT (empty when the map has none), and its name
    // for messages: "EPSG:32630 (WGS 84 / UTM zone 30N)".
    std::string crsWkt;
    std::string crsName;
    // The system they came in, by name; empty when the lines were not projected.
    std::string fromName;
    // Whether the projection was chosen as the UTM zone of the map's centre, and how many
    // degrees of longitude the map spans (a zone is 6 wide).
    bool utmZone = false;
    double degreesAcross = 0;
    // A map without a system whose coordinates all fit longitudes and latitudes.
    bool mayBeDegrees = false;
    // Metres in one unit of the map, for distances given in metres.
    double metresPerUnit = 1;
    std::string unitName = "metre";
};

struct Projecting {
    std::optional<ProjectedMap> map;
    // Why not: set when `map` is empty.
    std::string error;
};

// Brings `lines`, in the system `crsWkt` (empty for none), into metres: a geographic system is
// projected to the UTM zone of the map's centre, or to `toCrs` (EPSG:N, or anything GDAL takes
// for a system) when given, which must be projected. Points that are one point stay one point.
Projecting ProjectLines(std::vector<MapLine>& lines, const std::string& crsWkt,
                        const std::string& toCrs);

} // namespace vantrel::gis

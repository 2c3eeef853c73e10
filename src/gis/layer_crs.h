// The spatial reference system a result layer is written in.
#pragma once

#include <ogr_spatialref.h>

#include <string>

namespace vantrel::gis {

// The map's own system, or, for a map whose system is not known, GeoPackage's undefined
// Cartesian one (srs_id -1): with no system at all a GeoPackage layer falls into the undefined
// geographic one, and GIS programs take its coordinates for degrees.
class LayerCrs {
public:
    explicit LayerCrs(const std::string& wkt) {
        if (wkt.empty() || m_crs.importFromWkt(wkt.c_str()) != OGRERR_NONE)
            m_crs.importFromWkt(kUndefinedCartesian);
        m_crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    }

    OGRSpatialReference* get() { return &m_crs; }

private:
    static constexpr char kUndefinedCartesian[] = "LOCAL_CS[\"Undefined cartesian SRS\"]";
    OGRSpatialReference m_crs;
};

} // namespace vantrel::gis

// Default styles kept inside a GeoPackage, in the layer_styles table QGIS reads when a layer is
// added.
#pragma once

#include "gis/gdal_session.h"

#include <optional>
#include <string>
#include <vector>

class GDALDataset;
class OGRLayer;

namespace vantrel::gis {

struct LayerStyle {
    OGRLayer* layer = nullptr;
    // The QGIS style document (QML).
    std::string qml;
    // What the style shows, as QGIS lists it.
    std::string description;
};

// Makes the layer_styles table the way QGIS makes it and stores each style as its layer's
// default. The fault, or nothing.
std::optional<std::string> StoreLayerStyles(GDALDataset& dataset, const GdalSession& gdal,
                                            const std::vector<LayerStyle>& styles);

} // namespace vantrel::gis

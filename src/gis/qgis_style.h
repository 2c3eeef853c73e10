// The default QGIS style of the result layers: items coloured by integration with the program's
// 13 colours, red (high) to blue (low), the highest drawn on top.
#pragma once

#include "core/display/colour_scale.h"

#include <string>
#include <string_view>

namespace vantrel::gis {

enum class StyledGeometry { Line, Point };

// A QGIS style document (QML): a graduated renderer on `field`, whose values run from 0 to 1,
// in 13 ranges of the program's colour steps; lines of 0.6 mm, or discs of 2.4 mm.
std::string QgisStyle(StyledGeometry geometry, std::string_view field);

// One symbol of a QGIS style, named by its index: a line of 0.6 mm, or a disc of 2.4 mm.
std::string QgisSymbol(StyledGeometry geometry, int index, const display::Rgb& colour);

} // namespace vantrel::gis

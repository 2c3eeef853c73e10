// The default QGIS style of the result layers: items coloured by integration with the program's
// 13 colours, red (high) to blue (low), the highest drawn on top.
#pragma once

#include <string>
#include <string_view>

namespace vantrel::gis {

enum class StyledGeometry { Line, Point };

// A QGIS style document (QML): a graduated renderer on `field`, whose values run from 0 to 1,
// in 13 ranges of the program's colour steps; lines of 0.6 mm, or discs of 2.4 mm.
std::string QgisStyle(StyledGeometry geometry, std::string_view field);

} // namespace vantrel::gis

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

// The same colours for the cells of a grid of points: squares `cellSize` map units a side, so
// that the cells tile the plan, coloured over the values `lowest` (blue) to `highest` (red) of
// `field`; all red when the two are equal.
std::string QgisCellStyle(std::string_view field, double lowest, double highest, double cellSize);

} // namespace vantrel::gis

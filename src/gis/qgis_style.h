// The default QGIS style of the result layers: items coloured by a measure in classes of equal
// count with the program's 13 colours, red (high) to blue (low), the highest drawn on top.
#pragma once

#include "core/display/class_breaks.h"
#include "core/display/colour_scale.h"

#include <string>
#include <string_view>

namespace vantrel::gis {

enum class StyledGeometry { Line, Point };

// A QGIS style document (QML): a graduated renderer on `field` in the classes `breaks` gives,
// coloured from blue (lowest class) to red (highest), whose bounds are written exactly as the
// values are; lines of 0.6 mm, or discs of 2.4 mm. When `someWithoutValue`, items whose value is
// missing are drawn grey, in a class of their own after the others.
std::string QgisStyle(StyledGeometry geometry, std::string_view field,
                      const display::ClassBreaks& breaks, bool someWithoutValue);

// One symbol of a QGIS style, named by its index: a line of 0.6 mm, or a disc of 2.4 mm.
std::string QgisSymbol(StyledGeometry geometry, int index, const display::Rgb& colour);

// The same colours for the cells of a grid of points: squares `cellSize` map units a side, so
// that the cells tile the plan, coloured over the values `lowest` (blue) to `highest` (red) of
// `field`; all red when the two are equal.
std::string QgisCellStyle(std::string_view field, double lowest, double highest, double cellSize);

} // namespace vantrel::gis

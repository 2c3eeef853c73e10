// The default QGIS style of the result layers: items coloured by integration with the program's
// 13 colours, red (high) to blue (low), the highest drawn on top.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::gis {

enum class StyledGeometry { Line, Point };

// A QGIS style document (QML): a graduated renderer on `field`, whose values run from 0 to 1,
// in 13 ranges of the program's colour steps; lines of 0.6 mm, or discs of 2.4 mm.
std::string QgisStyle(StyledGeometry geometry, std::string_view field);

// The same for values of any range: the 13 ranges run between the 14 ascending `bounds`.
std::string QgisStyle(StyledGeometry geometry, std::string_view field,
                      std::span<const double> bounds);

// The 14 bounds of 13 ranges that hold about equally many of `values`, from the least to the
// greatest; all 0 when there are none.
std::vector<double> EqualCountBounds(std::vector<double> values);

} // namespace vantrel::gis

// Placing lines drawn elsewhere (a GIS map in metres, a larger drawing) in the map window.
#pragma once

#include "core/app/project_state.h"

#include <vector>

namespace vantrel::geometry {

// Lines that lie within 0..width by 0..height stay as they are, and the result is 1. Otherwise
// they are taken for world coordinates, whose y axis points north: they are scaled by one factor
// in both directions, turned over so that north is up, and moved so that their extent sits in the
// middle of the window with a margin of 5% on every side; the result is that factor. Lines of a
// single point are moved, not scaled.
double FitLinesToWindow(std::vector<MapLine>& lines, double width, double height);

} // namespace vantrel::geometry

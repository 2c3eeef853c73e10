// What the colour maps of the results windows share: the check that the last analysis covers the
// items there are now, and the drawing of per-item values in the space syntax colours.
#pragma once

#include "gui/display/results_window.h"

#include <cstddef>
#include <vector>

namespace vantrel {

struct Workspace;

// True when the depths and a result list of `resultSize` entries are those of the current items;
// otherwise tells the user which analysis to run first.
bool requireCurrentResults(Workspace& workspace, ResultsKind kind, std::size_t resultSize);

// Draws one value of 0..1 per item (as many values as items) on the kind's results window, lowest
// first so that high values lie on top: lines at width 3 in their colour, or the axial map in white
// under a disc per junction, sized by its value, with a black rim. The surface is not cleared here.
// Afterwards the main map window's pen width is 1.
void drawColourMap(Workspace& workspace, ResultsKind kind, const std::vector<float>& values);

} // namespace vantrel

#include "gui/display/colour_maps.h"

#include "core/app/project_state.h"
#include "core/display/colour_scale.h"
#include "gui/analysis/analysed_items.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"

#include <cmath>

namespace vantrel {

namespace {

constexpr int kLineWidth = 3;

void drawColouredLines(const ProjectState& state, const std::vector<float>& values,
                       PictureSurface& surface) {
    surface.setDrawWidth(kLineWidth);
    for (int index : display::DrawingOrder(values)) {
        const AxialLine& line = state.AxialLines[static_cast<std::size_t>(index)];
        surface.line(line.x1, line.y1, line.x2, line.y2,
                     toQColor(display::ColourOf(values[static_cast<std::size_t>(index)])));
    }
}

// 100 units at 0, about 244.9 at 1.
float discRadius(float value) {
    return static_cast<float>(std::sqrt(50000.0 * value + 10000.0));
}

void drawColouredJunctions(const ProjectState& state, const std::vector<float>& values,
                           PictureSurface& surface) {
    surface.setDrawWidth(1);
    for (const AxialLine& line : state.AxialLines)
        surface.line(line.x1, line.y1, line.x2, line.y2, Qt::white);
    surface.setFillStyle(FillStyle::Solid);
    for (int index : display::DrawingOrder(values)) {
        const float value = values[static_cast<std::size_t>(index)];
        const Junction& junction = state.Junctions[static_cast<std::size_t>(index)];
        surface.setFillColor(toQColor(display::ColourOf(value)));
        surface.circle(junction.x, junction.y, discRadius(value), Qt::black);
    }
}

} // namespace

bool requireCurrentResults(Workspace& workspace, ResultsKind kind, std::size_t resultSize) {
    if (!requireCurrentDepths(workspace, kind))
        return false;
    if (resultSize == static_cast<std::size_t>(itemCountOf(workspace.state, kind)))
        return true;
    Warn(workspace.dialogs,
         kind == ResultsKind::Axial
             ? "Run the Axial Line Analysis first: its results do not cover the axial lines as "
               "they are now"
             : "Run the Junction Analysis first: its results do not cover the junctions as they "
               "are now",
         "Data Input Warning");
    return false;
}

void drawColourMap(Workspace& workspace, ResultsKind kind, const std::vector<float>& values) {
    PictureSurface& surface = resultsWindowOf(workspace, kind).surface();
    if (kind == ResultsKind::Axial)
        drawColouredLines(workspace.state, values, surface);
    else
        drawColouredJunctions(workspace.state, values, surface);
    workspace.main.mapWindow().setDrawWidth(1);
}

} // namespace vantrel

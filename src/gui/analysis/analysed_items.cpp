#include "gui/analysis/analysed_items.h"

#include "core/app/project_state.h"
#include "core/display/colour_scale.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"

namespace vantrel {

ResultsWindow& resultsWindowOf(Workspace& workspace, ResultsKind kind) {
    return kind == ResultsKind::Axial ? workspace.axialResults : workspace.junctionResults;
}

int itemCountOf(const ProjectState& state, ResultsKind kind) {
    return kind == ResultsKind::Axial ? state.LineCount() : state.JunctionCount();
}

const Matrix<std::int16_t>& depthsOf(const ProjectState& state, ResultsKind kind) {
    return kind == ResultsKind::Axial ? state.LineDepth : state.JunctionDepth;
}

bool depthsAreCurrent(const ProjectState& state, ResultsKind kind) {
    const auto count = static_cast<std::size_t>(itemCountOf(state, kind));
    const Matrix<std::int16_t>& depth = depthsOf(state, kind);
    return count > 0 && depth.rows() == count && depth.columns() == count;
}

namespace {

// With fewer than two items no analysis gives anything to map, and running it again cannot
// change that: the window is cleared, and the junctions' window shows the lines.
void showNothingToMap(Workspace& workspace, ResultsKind kind) {
    PictureSurface& surface = resultsWindowOf(workspace, kind).surface();
    surface.clear();
    if (kind == ResultsKind::Axial)
        return;
    surface.setDrawWidth(1);
    for (const AxialLine& line : workspace.state.AxialLines)
        surface.line(line.x1, line.y1, line.x2, line.y2, Qt::white);
}

} // namespace

bool requireCurrentDepths(Workspace& workspace, ResultsKind kind) {
    if (depthsAreCurrent(workspace.state, kind))
        return true;
    if (itemCountOf(workspace.state, kind) < 2) {
        showNothingToMap(workspace, kind);
        return false;
    }
    // Depths older than the map would draw lines and junctions that are gone, or leave out new
    // ones, so the analysis has to be run again.
    Warn(workspace.dialogs,
         kind == ResultsKind::Axial
             ? "Run the Axial Line Analysis first: the depths between the axial lines have not "
               "been computed for the lines as they are now"
             : "Run the Junction Analysis first: the depths between the junctions have not been "
               "computed for the junctions as they are now",
         "Data Input Warning");
    return false;
}

std::optional<analysis::NodePoint> nodePointOf(const ProjectState& state, ResultsKind kind,
                                               int number) {
    if (number < 1 || number > itemCountOf(state, kind))
        return std::nullopt;
    const auto index = static_cast<std::size_t>(number - 1);
    if (kind == ResultsKind::Axial)
        return analysis::lineMidPoint(state.AxialLines[index]);
    const Junction& junction = state.Junctions[index];
    return analysis::NodePoint{junction.x, junction.y};
}

QColor toQColor(const display::Rgb& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace vantrel

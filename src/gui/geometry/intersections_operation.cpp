#include "gui/geometry/intersections_operation.h"

#include "core/geometry/incidence.h"
#include "core/geometry/intersections.h"
#include "core/host/number_text.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "gui/geometry/map_refresh.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"

#include <QLineEdit>

namespace vantrel {

namespace {

constexpr double kJunctionMarkRadius = 100;

void ShowCounter(QLineEdit& counter, int count) {
    counter.setText(QString::fromStdString(IntegerText(count)));
    // The search runs without the event loop, so the box is painted at once.
    counter.repaint();
}

void MarkJunctions(Workspace& workspace) {
    PictureSurface& map = workspace.main.mapWindow();
    map.setDrawWidth(1);
    map.setFillStyle(FillStyle::Solid);
    map.setFillColor(QColor(0, 0, 255));
    for (const Junction& junction : workspace.state.Junctions)
        map.circle(junction.x, junction.y, kJunctionMarkRadius, QColor(255, 255, 255));
}

void Run(Workspace& workspace) {
    ProjectState& state = workspace.state;
    HideRadiusSteppingControls(workspace);
    if (state.LineCount() == 1) {
        Warn(workspace.dialogs, "Only one axial line - enter more", "Data Input Warning");
        return;
    }
    workspace.main.mapWindow().setDrawWidth(1);

    QLineEdit& counter = workspace.main.box(2);
    geometry::JunctionSearch search = geometry::FindJunctions(
        state.AxialLines, kMaxJunctions, [&counter](int found) { ShowCounter(counter, found); });
    if (search.capacityExceeded) {
        // The lines stay, so that the user can thin them out with the checks; no analysis may
        // run on a partial junction table.
        state.Junctions.clear();
        state.LineJunctionMatrix = {};
        state.IntersectionsComputed = false;
        ShowCounter(counter, 0);
        // The marks of an earlier run would show junctions that are no longer in the table.
        RedrawAxialMap(workspace);
        Warn(workspace.dialogs,
             "More Than 500 Junctions Lines - Unfortunately You Must Start Again",
             "Data Input Warning");
        return;
    }
    Matrix<std::int16_t> matrix =
        geometry::BuildLineJunctionMatrix(state.LineCount(), search.junctions);
    state.Junctions = std::move(search.junctions);
    state.LineJunctionMatrix = std::move(matrix);
    ShowCounter(counter, state.JunctionCount());
    MarkJunctions(workspace);
    state.IntersectionsComputed = true;
    if (state.JunctionCount() == 1)
        Warn(workspace.dialogs, "Only one junction - ideally enter more", "Data Input Warning");
}

} // namespace

void HideRadiusSteppingControls(Workspace& workspace) {
    workspace.axialResults.hideRadiusGroup();
    workspace.junctionResults.hideRadiusGroup();
    workspace.axialResults.hideSpanGroup();
    workspace.junctionResults.hideSpanGroup();
}

void ComputeIntersections(Workspace& workspace) {
    MessagePanel& panel = workspace.main.panel();
    panel.show("In this Window, We Show the Intersections of Each Axial Lines with Every Other.",
               "Street intersections occur where axial lines cross. The biggest problem is where "
               "you get more than two lines intersecting",
               "In such a case you need to be careful and if necessary, redraw", "");
    try {
        Run(workspace);
    } catch (...) {
        // A fault in the search ends the operation quietly; the tables are only replaced once
        // the search is complete.
    }
}

} // namespace vantrel

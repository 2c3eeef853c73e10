#include "gui/geometry/proximity_operation.h"

#include "core/geometry/proximity.h"
#include "core/host/number_text.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/geometry/map_refresh.h"
#include "gui/host/picture_surface.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

namespace vantrel {

namespace {

constexpr double kMarkRadius = 60;
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);

void ShowThresholdControls(MainWindow& main) {
    for (QWidget* widget :
         {static_cast<QWidget*>(&main.label(4)), static_cast<QWidget*>(&main.box(8)),
          static_cast<QWidget*>(&main.check(2)), static_cast<QWidget*>(&main.box(10)),
          static_cast<QWidget*>(&main.check(3))})
        widget->show();
}

void MarkJunctions(Workspace& workspace, const std::vector<bool>& close) {
    const ProjectState& state = workspace.state;
    PictureSurface& map = workspace.main.mapWindow();
    PictureSurface& inset = workspace.main.insetWindow();
    for (int index = 0; index < state.JunctionCount(); ++index) {
        const Junction& junction = state.Junctions[index];
        map.setFillColor(close[index] ? kRed : kBlue);
        map.circle(junction.x, junction.y, kMarkRadius, kWhite);
        if (close[index]) {
            inset.setFillColor(kRed);
            inset.circle(junction.x * state.InsetScaleX, junction.y * state.InsetScaleY,
                         kMarkRadius * state.InsetScaleX, kRed);
        }
    }
}

void DrawThresholdRings(Workspace& workspace, const std::vector<bool>& close, float threshold) {
    // No ring for a threshold of 0 or one too large to be a number.
    if (!std::isfinite(threshold) || threshold <= 0)
        return;
    const ProjectState& state = workspace.state;
    PictureSurface& map = workspace.main.mapWindow();
    for (int index = 0; index < state.JunctionCount(); ++index) {
        const Junction& junction = state.Junctions[index];
        map.circle(junction.x, junction.y, threshold, close[index] ? kRed : kBlue);
    }
}

} // namespace

void ShowCloseJunctions(Workspace& workspace) {
    MainWindow& main = workspace.main;
    main.panel().show(
        "You Are Checking Axial Lines for Correct Junctions and If Not, Snapping.",
        "This stage lets you reposition the junctions if they are below a certain distance from "
        "each other.",
        "It shows the junctions that should be snapped and asks to you do this. ",
        "This iterative procedure snaps junctions two at a time. If the lines reposition "
        "wrongly then you must return to the check axial line stage and redraw");
    ShowThresholdControls(main);
    const auto threshold = static_cast<float>(ParseNumber(main.box(8).text().toStdString()));

    PictureSurface& map = main.mapWindow();
    PictureSurface& inset = main.insetWindow();
    for (PictureSurface* surface : {&map, &inset}) {
        surface->setDrawWidth(1);
        surface->setFillStyle(FillStyle::Solid);
    }
    RedrawAxialMap(workspace);
    SetInsetCaption(workspace, "Red Show Junctions within Threshold", kRed);

    const std::vector<bool> close =
        geometry::FindCloseJunctions(workspace.state.Junctions, threshold);
    MarkJunctions(workspace, close);
    map.setFillStyle(FillStyle::Transparent);
    if (main.check(2).isChecked())
        DrawThresholdRings(workspace, close, threshold);
}

} // namespace vantrel

#include "gui/drawing/digitising.h"

#include "core/host/number_text.h"
#include "gui/app/main_window.h"
#include "gui/app/project_document.h"
#include "gui/app/workspace.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"

#include <QLineEdit>
#include <QScrollBar>

namespace vantrel {

namespace {

void DrawRubberBand(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    workspace.main.mapWindow().line(state.DragX1, state.DragY1, state.DragX2, state.DragY2);
}

void MirrorOnInset(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    const float x1 = state.InsetScaleX * state.DragX1;
    const float y1 = state.InsetScaleY * state.DragY1;
    const float x2 = state.InsetScaleX * state.DragX2;
    const float y2 = state.InsetScaleY * state.DragY2;
    PictureSurface& inset = workspace.main.insetWindow();
    inset.setForeColor(QColor(255, 255, 255));
    inset.line(x1, y1, x2, y2);
}

void StoreLine(Workspace& workspace) {
    ProjectState& state = workspace.state;
    const AddLineResult result =
        AddAxialLine(state, {state.DragX1, state.DragY1, state.DragX2, state.DragY2});
    if (result == AddLineResult::Refused) {
        WarnLineLimit(workspace);
        return;
    }
    if (result == AddLineResult::StoredWithWarning)
        Warn(workspace.dialogs,
             "You have 101 Axial Lines - You 'May' Be Approaching More Than 500 Intersections ",
             "Data Input Warning");
    workspace.main.box(1).setText(QString::fromStdString(IntegerText(state.LineCount())));
    workspace.main.project().linesChanged();
}

} // namespace

void WarnLineLimit(Workspace& workspace) {
    Warn(workspace.dialogs, "More Than 500 Axial Lines - You Must Start Again or Remove Lines ",
         "Data Input Warning");
}

void PointerDown(Workspace& workspace, float x, float y) {
    ProjectState& state = workspace.state;
    // A second button pressed during a drag would strand the first rubber band on the plan.
    if (!state.DrawingEnabled || state.RubberBandActive)
        return;
    MessagePanel& panel = workspace.main.panel();
    panel.setTitle("This is the Map Window Where You Draw Axial Lines Using the Mouse.");
    panel.clearExplanations();
    panel.setExplanation(5, "If you can't draw clear lines on your image, then change its "
                            "thickness or its colour by returning to the original image.");
    panel.setExplanation(6, "To do this, you must Clear and Reload");

    state.IntersectionsComputed = false;
    state.RubberBandActive = true;
    PictureSurface& map = workspace.main.mapWindow();
    state.SavedDrawMode = map.drawMode();
    map.setDrawMode(DrawMode::Invert);
    state.DragX1 = state.DragX2 = x;
    state.DragY1 = state.DragY2 = y;
    DrawRubberBand(workspace);
}

void PointerMove(Workspace& workspace, float x, float y) {
    ProjectState& state = workspace.state;
    if (!state.DrawingEnabled || !state.RubberBandActive)
        return;
    DrawRubberBand(workspace);
    state.DragX2 = x;
    state.DragY2 = y;
    DrawRubberBand(workspace);
}

void PointerUp(Workspace& workspace) {
    ProjectState& state = workspace.state;
    if (!state.DrawingEnabled || !state.RubberBandActive)
        return;
    state.RubberBandActive = false;
    DrawRubberBand(workspace);
    PictureSurface& map = workspace.main.mapWindow();
    map.setDrawMode(state.SavedDrawMode);
    map.setDrawWidth(workspace.main.widthScrollBar().value());
    map.line(state.DragX1, state.DragY1, state.DragX2, state.DragY2);
    MirrorOnInset(workspace);
    StoreLine(workspace);
}

void ConnectDigitisingOperations(Workspace& workspace) {
    PictureSurface& map = workspace.main.mapWindow();
    QObject::connect(&map, &PictureSurface::pointerDown, &map,
                     [&workspace](Qt::MouseButton, Qt::KeyboardModifiers, double x, double y) {
                         PointerDown(workspace, static_cast<float>(x), static_cast<float>(y));
                     });
    QObject::connect(&map, &PictureSurface::pointerMove, &map,
                     [&workspace](Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y) {
                         PointerMove(workspace, static_cast<float>(x), static_cast<float>(y));
                     });
    QObject::connect(&map, &PictureSurface::pointerUp, &map,
                     [&workspace](Qt::MouseButton, Qt::KeyboardModifiers, double, double) {
                         PointerUp(workspace);
                     });
}

} // namespace vantrel

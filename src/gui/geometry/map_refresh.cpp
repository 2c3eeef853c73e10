#include "gui/geometry/map_refresh.h"

#include "core/app/project_state.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/host/picture_surface.h"

#include <QLabel>

namespace vantrel {

void RepaintMapFromPlan(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    PictureSurface& map = workspace.main.mapWindow();
    // Clearing first wipes marks the plan does not cover, and everything when there is no plan.
    map.clear();
    map.paintPicture(workspace.main.storedPlan(), 0, 0, state.MapWidth * state.ZoomFactorX,
                     state.MapHeight * state.ZoomFactorY);
}

void DrawAxialLine(Workspace& workspace, const AxialLine& line, const QColor& mapColour,
                   const QColor& insetColour) {
    const float scaleX = workspace.state.InsetScaleX;
    const float scaleY = workspace.state.InsetScaleY;
    workspace.main.mapWindow().line(line.x1, line.y1, line.x2, line.y2, mapColour);
    workspace.main.insetWindow().line(line.x1 * scaleX, line.y1 * scaleY, line.x2 * scaleX,
                                      line.y2 * scaleY, insetColour);
}

void RedrawAxialMap(Workspace& workspace) {
    RepaintMapFromPlan(workspace);
    workspace.main.insetWindow().clear();
    for (const AxialLine& line : workspace.state.AxialLines)
        DrawAxialLine(workspace, line, Qt::black, Qt::white);
}

void SetInsetCaption(Workspace& workspace, const QString& text, const QColor& colour) {
    QLabel& caption = workspace.main.label(2);
    QPalette palette = caption.palette();
    palette.setColor(QPalette::WindowText, colour);
    caption.setPalette(palette);
    caption.setText(text);
}

} // namespace vantrel

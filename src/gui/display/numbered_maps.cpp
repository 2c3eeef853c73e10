#include "gui/display/numbered_maps.h"

#include "core/app/project_state.h"
#include "core/host/number_text.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/numbered_map_window.h"
#include "gui/host/picture_surface.h"

namespace vantrel {

namespace {

constexpr double kDotRadius = 40;
const QColor kRed(255, 0, 0);

// The window at the main map window's size, shown and cleared, with white text on red discs.
PictureSurface& openNumberedMap(Workspace& workspace, NumberedMapWindow& window,
                                const char* caption) {
    const PictureSurface& map = workspace.main.mapWindow();
    window.sizeToMap(map.widthUnits(), map.heightUnits());
    window.setWindowTitle(caption);
    window.bringToFront();
    PictureSurface& surface = window.surface();
    // Cleared so that a shorter map leaves nothing of an earlier one behind.
    surface.clear();
    surface.setForeColor(Qt::white);
    surface.setFillStyle(FillStyle::Solid);
    surface.setFillColor(kRed);
    return surface;
}

void drawNumberedDot(PictureSurface& surface, double x, double y, int number) {
    surface.circle(x, y, kDotRadius, kRed);
    surface.setCurrentPosition(x, y);
    surface.print(QString::fromStdString(IntegerText(number)));
}

} // namespace

void ShowNumberedAxialMap(Workspace& workspace) {
    PictureSurface& surface = openNumberedMap(workspace, workspace.numberedAxialMap,
                                              "Each Axial Line is Numbered in the Order Digitised");
    int number = 0;
    for (const AxialLine& line : workspace.state.AxialLines) {
        surface.line(line.x1, line.y1, line.x2, line.y2, kRed);
        drawNumberedDot(surface, line.x1, line.y1, ++number);
    }
}

void ShowNumberedJunctionMap(Workspace& workspace) {
    PictureSurface& surface = openNumberedMap(workspace, workspace.numberedJunctionMap,
                                              "Each Junction is Numbered in the Order Computed");
    for (const AxialLine& line : workspace.state.AxialLines)
        surface.line(line.x1, line.y1, line.x2, line.y2, kRed);
    int number = 0;
    for (const Junction& junction : workspace.state.Junctions)
        drawNumberedDot(surface, junction.x, junction.y, ++number);
}

} // namespace vantrel

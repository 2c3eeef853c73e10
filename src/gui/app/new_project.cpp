#include "gui/app/new_project.h"

#include "gui/app/main_window.h"
#include "gui/app/project_document.h"
#include "gui/app/workspace.h"
#include "gui/geometry/map_refresh.h"
#include "gui/display/results_window.h"
#include "gui/host/picture_surface.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vantrel {

namespace {

// The map window becomes the stored plan at full size; with no plan it is emptied at the size
// last measured.
void RestorePlan(Workspace& workspace) {
    PictureSurface& map = workspace.main.mapWindow();
    const QImage& plan = workspace.main.storedPlan();
    if (plan.isNull()) {
        map.resizeUnits(workspace.state.MapWidth, workspace.state.MapHeight);
        map.clear();
    } else {
        map.setImage(plan);
    }
}

void ClearToBlack(ResultsWindow& window) {
    window.surface().setBackColor(Qt::black);
    window.surface().clear();
}

} // namespace

void ResetProject(Workspace& workspace) {
    MainWindow& main = workspace.main;
    ProjectState& state = workspace.state;
    main.panel().setTitle("This is a New Project Where You Can Start Redrawing the Axial Map "
                          "Again.");
    RestorePlan(workspace);
    ClearProjectTables(state);
    main.box(1).clear();
    main.box(2).clear();
    main.measureInsetScales();

    ClearToBlack(workspace.axialResults);
    ClearToBlack(workspace.junctionResults);
    main.insetWindow().clear();
    workspace.axialResults.close();
    workspace.junctionResults.close();

    main.panel().clearExplanations();
    SetInsetCaption(workspace, kInsetCaption, Qt::black);
    main.resetThresholdControls();

    state.MapWidth = static_cast<float>(main.mapWindow().widthUnits());
    state.MapHeight = static_cast<float>(main.mapWindow().heightUnits());
    state.ZoomFactorX = 1.0f;
    state.ZoomFactorY = 1.0f;
    main.layOutAroundMap();
    main.panel().showStartTexts();

    main.mapWindow().setDrawWidth(1);
    state.IntersectionsComputed = false;
    main.measureInsetScales();

    main.setScaleControlsVisible(true);
    main.box(11).setText("1");

    workspace.axialResults.hideRadiusGroup();
    workspace.junctionResults.hideRadiusGroup();
    workspace.axialResults.hideSpanGroup();
    workspace.junctionResults.hideSpanGroup();

    state.DrawingEnabled = false;
    main.mapWindow().setForeColor(Qt::black);
    main.project().linesChanged();
}

void ClearBackground(Workspace& workspace) {
    PictureSurface& map = workspace.main.mapWindow();
    map.clear();
    // The lines belong to the project, not to the background.
    for (const AxialLine& line : workspace.state.AxialLines)
        DrawAxialLine(workspace, line, map.foreColor(), Qt::white);
}

void ConnectNewProjectOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    QObject::connect(&main.command(5), &QPushButton::clicked, &main,
                     [&workspace] { ResetProject(workspace); });
    QObject::connect(&main.command(6), &QPushButton::clicked, &main,
                     [&workspace] { ClearBackground(workspace); });
}

} // namespace vantrel

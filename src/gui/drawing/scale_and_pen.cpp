#include "gui/drawing/scale_and_pen.h"

#include "core/host/number_text.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/geometry/map_refresh.h"
#include "gui/host/dialogs.h"
#include "gui/host/image_files.h"
#include "gui/host/picture_surface.h"
#include "gui/host/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace vantrel {

namespace {

constexpr double kZoomStep = 1.1;

} // namespace

void ZoomTo(Workspace& workspace, float zoomX, float zoomY) {
    ProjectState& state = workspace.state;
    const float width = zoomX * state.MapWidth;
    const float height = zoomY * state.MapHeight;
    if (!FitsImageLimit(QSize(TwipsToPixels(width), TwipsToPixels(height)))) {
        Warn(workspace.dialogs, "The map window cannot be made any larger", "Zoom-Out");
        return;
    }
    state.ZoomFactorX = zoomX;
    state.ZoomFactorY = zoomY;
    workspace.main.mapWindow().resizeUnits(width, height);
    RepaintMapFromPlan(workspace);
    // The panel moves with the map's right edge so that the map never covers it.
    workspace.main.layOutAroundMap();
}

void ZoomOut(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    ZoomTo(workspace, static_cast<float>(state.ZoomFactorX * kZoomStep),
           static_cast<float>(state.ZoomFactorY * kZoomStep));
}

void ZoomIn(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    ZoomTo(workspace, static_cast<float>(state.ZoomFactorX / kZoomStep),
           static_cast<float>(state.ZoomFactorY / kZoomStep));
}

void ChoosePenColour(Workspace& workspace) {
    // A cancelled dialog keeps the colour last chosen in it, and the pen takes that colour.
    QColor& dialogColour = workspace.main.penDialogColour();
    if (const std::optional<QColor> chosen = workspace.dialogs.colour(dialogColour))
        dialogColour = *chosen;
    workspace.main.mapWindow().setForeColor(dialogColour);
}

void ShowPenWidth(Workspace& workspace) {
    MainWindow& main = workspace.main;
    main.box(11).setText(QString::fromStdString(IntegerText(main.widthScrollBar().value())));
}

void FixScale(Workspace& workspace) {
    MainWindow& main = workspace.main;
    main.setScaleControlsVisible(false);
    main.layOutAroundMap();
    main.panel().showStartTexts();
    main.panel().setTitle(
        "To Begin, Start Drawing the Axial Map in the Map Window, Using the Mouse");
    SetInsetCaption(workspace, kInsetCaption, Qt::black);
    main.mapWindow().setDrawWidth(1);
    workspace.state.IntersectionsComputed = false;
    // Taken after the zoom, so that the inset shows the whole zoomed map.
    main.measureInsetScales();
    workspace.state.DrawingEnabled = true;
}

void ConnectScaleAndPenOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    const auto onClick = [&](int number, void (*operation)(Workspace&)) {
        QObject::connect(&main.command(number), &QPushButton::clicked, &main,
                         [&workspace, operation] { operation(workspace); });
    };
    onClick(15, ZoomOut);
    onClick(16, ZoomIn);
    onClick(17, FixScale);
    onClick(30, ChoosePenColour);
    QObject::connect(&main.widthScrollBar(), &QScrollBar::valueChanged, &main,
                     [&workspace] { ShowPenWidth(workspace); });
}

} // namespace vantrel

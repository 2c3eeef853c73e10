#include "gui/analysis/depth_map_operations.h"

#include "core/analysis/depth_map.h"
#include "core/app/project_state.h"
#include "gui/analysis/analysed_items.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"

#include <QAction>
#include <QPushButton>

namespace vantrel {

namespace {

const QPoint kOriginInputPosition(2000, 3500);

// The origin as an item number, asked until one is typed; nothing when the user cancels.
std::optional<int> askOrigin(Dialogs& dialogs, ResultsKind kind, int itemCount) {
    const bool axial = kind == ResultsKind::Axial;
    const QString prompt = axial ? "You Need to Enter the Number of the Line From Which You Want "
                                   "To Compute The Depths"
                                 : "You Need to Enter the Number of the Junction From Which You "
                                   "Want To Compute The Depths";
    const QString title = axial ? "Getting the Line Number for the Depth Map"
                                : "Getting the Junction Number for the Depth Map";
    for (;;) {
        const std::optional<QString> typed = dialogs.input(prompt, title, kOriginInputPosition);
        if (!typed)
            return std::nullopt;
        if (const auto number = analysis::ParseDepthOrigin(typed->toStdString(), itemCount))
            return number;
        dialogs.message("You Typed in an Incorrect Number/Value", "Error in KeyBoard Input",
                        MessageButtons::YesNo, MessageIcon::Question);
    }
}

// The plan of the map to draw, or nothing when there is none (the user is told why) or the user
// cancelled.
std::optional<analysis::DepthMapPlan> planDepthMap(Workspace& workspace, ResultsKind kind) {
    if (!requireCurrentDepths(workspace, kind))
        return std::nullopt;
    const int count = itemCountOf(workspace.state, kind);
    const Matrix<std::int16_t>& depth = depthsOf(workspace.state, kind);
    // All depths 0: relative depths would divide by zero, and there is nothing to colour.
    if (analysis::MaxDepth(depth, count) == 0) {
        Warn(workspace.dialogs,
             kind == ResultsKind::Axial
                 ? "All the depths are 0: no two axial lines are connected, so there is no depth "
                   "map to draw"
                 : "All the depths are 0: no two junctions are connected, so there is no depth "
                   "map to draw",
             "Data Input Warning");
        return std::nullopt;
    }
    const std::optional<int> origin = askOrigin(workspace.dialogs, kind, count);
    if (!origin)
        return std::nullopt;
    return analysis::depthMapPlan(depth, count, *origin - 1);
}

void drawLineDepthMap(const ProjectState& state, const analysis::DepthMapPlan& plan,
                      PictureSurface& surface) {
    surface.setDrawWidth(3);
    for (const analysis::DepthMapItem& item : plan.items) {
        const AxialLine& line = state.AxialLines[static_cast<std::size_t>(item.index)];
        surface.line(line.x1, line.y1, line.x2, line.y2, toQColor(item.colour));
    }
}

void drawJunctionDepthMap(const ProjectState& state, const analysis::DepthMapPlan& plan,
                          PictureSurface& surface) {
    surface.setDrawWidth(1);
    for (const AxialLine& line : state.AxialLines)
        surface.line(line.x1, line.y1, line.x2, line.y2, Qt::white);
    surface.setFillStyle(FillStyle::Solid);
    for (const analysis::DepthMapItem& item : plan.items) {
        const Junction& junction = state.Junctions[static_cast<std::size_t>(item.index)];
        const QColor colour = toQColor(item.colour);
        surface.setFillColor(colour);
        surface.circle(junction.x, junction.y, item.discRadius, colour);
    }
}

void showDepthMap(Workspace& workspace, ResultsKind kind) {
    // The map on show stays when there is nothing to draw or the user cancels.
    const std::optional<analysis::DepthMapPlan> plan = planDepthMap(workspace, kind);
    if (!plan)
        return;
    ResultsWindow& window = resultsWindowOf(workspace, kind);
    PictureSurface& surface = window.surface();
    surface.clear();
    if (kind == ResultsKind::Axial)
        drawLineDepthMap(workspace.state, *plan, surface);
    else
        drawJunctionDepthMap(workspace.state, *plan, surface);
    // After the prompt the window the map is drawn in comes to the front, wherever it was.
    window.bringToFront();
    workspace.main.mapWindow().setDrawWidth(1);
}

} // namespace

void ShowLineDepthMap(Workspace& workspace) {
    showDepthMap(workspace, ResultsKind::Axial);
}

void ShowJunctionDepthMap(Workspace& workspace) {
    showDepthMap(workspace, ResultsKind::Junction);
}

void ConnectDepthMapOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    QObject::connect(&main.command(21), &QPushButton::clicked, &main,
                     [&workspace] { ShowLineDepthMap(workspace); });
    QObject::connect(&main.command(22), &QPushButton::clicked, &main,
                     [&workspace] { ShowJunctionDepthMap(workspace); });
    for (ResultsWindow* window : {&workspace.axialResults, &workspace.junctionResults}) {
        QObject::connect(&window->action("mnuDepthMaps"), &QAction::triggered, window,
                         [&workspace, window] {
                             if (window->kind() == ResultsKind::Axial)
                                 ShowLineDepthMap(workspace);
                             else
                                 ShowJunctionDepthMap(workspace);
                             window->hideSteppingGroups();
                         });
    }
}

} // namespace vantrel

#include "gui/display/results_menus.h"

#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/about_texts.h"
#include "gui/display/numbered_maps.h"
#include "gui/display/radius_maps.h"
#include "gui/display/surface_view.h"
#include "gui/display/syntax_maps.h"
#include "gui/host/picture_surface.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace vantrel {

namespace {

bool isAxial(const ResultsWindow& window) {
    return window.kind() == ResultsKind::Axial;
}

bool stepRadiusMap(Workspace& workspace, const ResultsWindow& window) {
    return isAxial(window) ? StepAxialRadiusMap(workspace) : StepJunctionRadiusMap(workspace);
}

// The radius is stepped by what `Text2` holds (0 until a button has written to it), the groups
// are hidden, the radius group laid out, and the radius stepped again, which shows the radius and
// the buttons that can still move it. When the analysis is missing the user is told once.
void zoomToRadiusMap(Workspace& workspace, ResultsWindow& window) {
    const bool stepped = stepRadiusMap(workspace, window);
    window.hideSteppingGroups();
    if (!stepped)
        return;
    window.layOutRadiusGroup();
    stepRadiusMap(workspace, window);
}

void stepRadiusFromButton(Workspace& workspace, ResultsWindow& window, const char* step) {
    window.box(2).setText(step);
    stepRadiusMap(workspace, window);
}

void connectMainWindow(Workspace& workspace) {
    MainWindow& main = workspace.main;
    const auto connect = [&](int button, void (*operation)(Workspace&)) {
        QObject::connect(&main.command(button), &QPushButton::clicked, &main,
                         [&workspace, operation] { operation(workspace); });
    };
    connect(9, ShowAxialSyntaxMap);
    connect(11, ShowJunctionSyntaxMap);
    connect(19, ShowNumberedAxialMap);
    connect(20, ShowNumberedJunctionMap);
    connect(26, ShowAxialRadius3Map);
    connect(27, ShowJunctionRadius3Map);
    QObject::connect(&main.command(28), &QPushButton::clicked, &main,
                     [&workspace] { StepAxialRadiusMap(workspace); });
    QObject::connect(&main.command(29), &QPushButton::clicked, &main,
                     [&workspace] { StepJunctionRadiusMap(workspace); });
    // With no menu to say which window, the hidden button draws on the axial results window.
    QObject::connect(&main.command(10), &QPushButton::clicked, &main,
                     [&workspace] { ShowSurface(workspace, workspace.axialResults.surface()); });
    QObject::connect(&main.action("mnuAxials"), &QAction::triggered, &main,
                     [&workspace] { ShowNumberedAxialMap(workspace); });
    QObject::connect(&main.action("mnuJunctionMap"), &QAction::triggered, &main,
                     [&workspace] { ShowNumberedJunctionMap(workspace); });
}

// Every map item hides both stepping groups when it is done; the Zoom item then lays out the
// radius group again. The surface view hides them in both windows alike.
void connectResultsWindow(Workspace& workspace, ResultsWindow& window) {
    const auto connect = [&](const char* item, std::function<void()> operation) {
        QObject::connect(&window.action(item), &QAction::triggered, &window, std::move(operation));
    };
    const ResultsKind kind = window.kind();
    connect("mnuSyntax", [&workspace, &window] {
        if (isAxial(window))
            ShowAxialSyntaxMap(workspace);
        else
            ShowJunctionSyntaxMap(workspace);
        window.hideSteppingGroups();
    });
    connect("mnuRadius3", [&workspace, &window] {
        if (isAxial(window))
            ShowAxialRadius3Map(workspace);
        else
            ShowJunctionRadius3Map(workspace);
        window.hideSteppingGroups();
    });
    connect(isAxial(window) ? "mnuZoomMap" : "mnuZoomRadii",
            [&workspace, &window] { zoomToRadiusMap(workspace, window); });
    connect("mnuSurface", [&workspace, &window] {
        window.surface().clear();
        ShowSurface(workspace, window.surface());
        window.hideSteppingGroups();
    });
    connect("mnuInt", [&workspace, kind] { ShowAboutIntegrationMaps(workspace, kind); });
    connect("mnuGr", [&workspace, kind] { ShowAboutIntegrationGraph(workspace, kind); });

    QObject::connect(&window.command(1), &QPushButton::clicked, &window,
                     [&workspace, &window] { stepRadiusFromButton(workspace, window, "1"); });
    QObject::connect(&window.command(2), &QPushButton::clicked, &window,
                     [&workspace, &window] { stepRadiusFromButton(workspace, window, "-1"); });
}

void connectNumberedWindow(Workspace& workspace, NumberedMapWindow& window) {
    const NumberedMapKind kind = window.kind();
    QObject::connect(&window.action("mnuTheMap"), &QAction::triggered, &window,
                     [&workspace, kind] { ShowAboutNumberedMap(workspace, kind); });
}

} // namespace

void ConnectResultsDisplayOperations(Workspace& workspace) {
    connectMainWindow(workspace);
    connectResultsWindow(workspace, workspace.axialResults);
    connectResultsWindow(workspace, workspace.junctionResults);
    connectNumberedWindow(workspace, workspace.numberedAxialMap);
    connectNumberedWindow(workspace, workspace.numberedJunctionMap);
}

} // namespace vantrel

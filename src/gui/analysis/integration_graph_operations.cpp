#include "gui/analysis/integration_graph_operations.h"

#include "core/analysis/integration_graph.h"
#include "core/app/project_state.h"
#include "core/host/number_text.h"
#include "gui/analysis/analysed_items.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"
#include "gui/host/progress_bar_progress.h"

#include <QAction>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace vantrel {

namespace {

// Above this many items the graph is a tangle and the build shows its progress.
constexpr int kClearGraphItems = 50;
constexpr double kNodeRadius = 100;

std::vector<GraphArc>& arcListOf(ProjectState& state, ResultsKind kind) {
    return kind == ResultsKind::Axial ? state.LineArcList : state.JunctionArcList;
}

void warnOfManyItems(Dialogs& dialogs, ResultsKind kind) {
    if (kind == ResultsKind::Axial)
        Warn(dialogs, "With this many lines, the Graph will be pretty impressionistic",
             "There are over 50 Axial Lines");
    else
        Warn(dialogs, "With this many junctions, the Graph will be pretty impressionistic",
             "There are over 50 Junctions/Intersections");
}

// Arcs whose items are no longer there (lines deleted since the build) are left out.
void drawArcs(const ProjectState& state, ResultsKind kind, const std::vector<GraphArc>& arcs,
              PictureSurface& surface) {
    surface.setDrawWidth(1);
    for (const GraphArc& arc : arcs) {
        const auto a = nodePointOf(state, kind, static_cast<int>(RoundHalfEven(arc.first)));
        const auto b = nodePointOf(state, kind, static_cast<int>(RoundHalfEven(arc.second)));
        if (a && b)
            surface.line(a->x, a->y, b->x, b->y, toQColor(analysis::arcColour(arc)));
    }
}

void drawNode(PictureSurface& surface, const std::optional<analysis::NodePoint>& node) {
    if (node)
        surface.circle(node->x, node->y, kNodeRadius, Qt::white);
}

// Axial nodes are drawn once for every arc they belong to, junction nodes once each.
void drawNodes(const ProjectState& state, ResultsKind kind, PictureSurface& surface) {
    surface.setDrawWidth(1);
    surface.setFillStyle(FillStyle::Solid);
    surface.setFillColor(Qt::black);
    if (kind == ResultsKind::Axial) {
        for (const GraphArc& arc : state.LineArcList) {
            drawNode(surface,
                     nodePointOf(state, kind, static_cast<int>(RoundHalfEven(arc.second))));
            drawNode(surface, nodePointOf(state, kind, static_cast<int>(RoundHalfEven(arc.first))));
        }
    } else {
        for (int number = 1; number <= state.JunctionCount(); ++number)
            drawNode(surface, nodePointOf(state, kind, number));
    }
}

// The span box and the span buttons within their limits: up below the item count, down above 1.
void showSpan(const ProjectState& state, ResultsKind kind, ResultsWindow& window) {
    window.box(3).setText(QString::fromStdString(NumberText(state.GraphSpan)));
    window.command(4).setVisible(state.GraphSpan < itemCountOf(state, kind));
    window.command(5).setVisible(state.GraphSpan > 1);
}

bool integrationGraph(Workspace& workspace, ResultsKind kind) {
    if (!requireCurrentDepths(workspace, kind))
        return false;
    ProjectState& state = workspace.state;
    ResultsWindow& window = resultsWindowOf(workspace, kind);
    PictureSurface& surface = window.surface();
    const int count = itemCountOf(state, kind);

    surface.clear();
    window.progressBar().setValue(1);
    const bool many = count > kClearGraphItems;
    if (many)
        warnOfManyItems(workspace.dialogs, kind);
    ProgressBarProgress progress(window.progressBar(), many);
    progress.start(count);
    std::vector<GraphArc>& arcs = arcListOf(state, kind);
    arcs = analysis::buildArcList(depthsOf(state, kind), count);
    progress.finish();

    drawArcs(state, kind, analysis::drawnArcs(arcs), surface);
    drawNodes(state, kind, surface);
    window.bringToFront();
    // The full graph spans every depth, whatever span was stepped to before.
    state.GraphSpan = 0;
    for (const GraphArc& arc : arcs)
        state.GraphSpan = std::max(state.GraphSpan, static_cast<int>(RoundHalfEven(arc.depth)));
    window.box(3).setText(QString::fromStdString(NumberText(state.GraphSpan)));
    workspace.main.mapWindow().setDrawWidth(1);
    return true;
}

void graphSpanStep(Workspace& workspace, ResultsKind kind) {
    ProjectState& state = workspace.state;
    ResultsWindow& window = resultsWindowOf(workspace, kind);
    PictureSurface& surface = window.surface();

    surface.clear();
    const double step = ParseNumber(window.box(4).text().toStdString());
    state.GraphSpan += static_cast<int>(RoundHalfEven(step));
    showSpan(state, kind, window);
    drawArcs(state, kind, analysis::arcsWithinSpan(arcListOf(state, kind), state.GraphSpan),
             surface);
    drawNodes(state, kind, surface);
    workspace.main.mapWindow().setDrawWidth(1);
}

void showGraphFromMenu(Workspace& workspace, ResultsWindow& window) {
    const ResultsKind kind = window.kind();
    const bool drawn = kind == ResultsKind::Axial ? AxialIntegrationGraph(workspace)
                                                  : JunctionIntegrationGraph(workspace);
    window.hideSteppingGroups();
    if (!drawn)
        return;
    window.layOutSpanGroup();
    // Laying out empties the span box and shows both buttons; the span and its limits hold.
    showSpan(workspace.state, kind, window);
}

void stepSpanFromButton(Workspace& workspace, ResultsWindow& window, const char* step) {
    window.box(4).setText(step);
    if (window.kind() == ResultsKind::Axial)
        AxialGraphSpanStep(workspace);
    else
        JunctionGraphSpanStep(workspace);
}

} // namespace

bool AxialIntegrationGraph(Workspace& workspace) {
    return integrationGraph(workspace, ResultsKind::Axial);
}

bool JunctionIntegrationGraph(Workspace& workspace) {
    return integrationGraph(workspace, ResultsKind::Junction);
}

void AxialGraphSpanStep(Workspace& workspace) {
    graphSpanStep(workspace, ResultsKind::Axial);
}

void JunctionGraphSpanStep(Workspace& workspace) {
    graphSpanStep(workspace, ResultsKind::Junction);
}

void ConnectIntegrationGraphOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    QObject::connect(&main.command(23), &QPushButton::clicked, &main,
                     [&workspace] { AxialIntegrationGraph(workspace); });
    QObject::connect(&main.command(24), &QPushButton::clicked, &main,
                     [&workspace] { JunctionIntegrationGraph(workspace); });
    QObject::connect(&main.command(31), &QPushButton::clicked, &main,
                     [&workspace] { AxialGraphSpanStep(workspace); });
    QObject::connect(&main.command(32), &QPushButton::clicked, &main,
                     [&workspace] { JunctionGraphSpanStep(workspace); });
    for (ResultsWindow* window : {&workspace.axialResults, &workspace.junctionResults}) {
        const char* item = window->kind() == ResultsKind::Axial ? "mnuAxial" : "mnuJunction";
        QObject::connect(&window->action(item), &QAction::triggered, window,
                         [&workspace, window] { showGraphFromMenu(workspace, *window); });
        QObject::connect(&window->command(4), &QPushButton::clicked, window,
                         [&workspace, window] { stepSpanFromButton(workspace, *window, "1"); });
        QObject::connect(&window->command(5), &QPushButton::clicked, window,
                         [&workspace, window] { stepSpanFromButton(workspace, *window, "-1"); });
    }
}

} // namespace vantrel

#include "gui/analysis/analysis_operations.h"

#include "core/analysis/adjacency.h"
#include "core/analysis/depths.h"
#include "core/analysis/groups.h"
#include "core/analysis/integration.h"
#include "core/analysis/map_graph.h"
#include "core/app/project_state.h"
#include "core/host/number_text.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "gui/geometry/intersections_operation.h"
#include "gui/geometry/map_refresh.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"
#include "gui/host/progress_bar_progress.h"

#include <QProgressBar>
#include <QPushButton>
#include <cmath>
#include <thread>

namespace vantrel {

namespace {

// Above this many items the analysis shows its progress on the main window's bar.
constexpr int kProgressShownAbove = 30;

const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);
const QString kWarningTitle = QStringLiteral("Data Input Warning");

using DepthSearch = analysis::DepthResult (*)(const analysis::MapGraph&,
                                              const analysis::DepthOptions&);

// Runs the intersection search when the junctions are out of date. False when they still are:
// the search was refused, and the user has been told why.
bool junctionsUpToDate(Workspace& workspace) {
    if (!workspace.state.IntersectionsComputed)
        ComputeIntersections(workspace);
    return workspace.state.IntersectionsComputed;
}

// The inset cleared and every line drawn on it in white at the inset's scale.
void redrawInset(Workspace& workspace) {
    SetInsetCaption(workspace, kInsetCaption, Qt::black);
    const ProjectState& state = workspace.state;
    PictureSurface& inset = workspace.main.insetWindow();
    inset.clear();
    inset.setDrawWidth(1);
    inset.setFillStyle(FillStyle::Solid);
    for (const AxialLine& line : state.AxialLines)
        inset.line(line.x1 * state.InsetScaleX, line.y1 * state.InsetScaleY,
                   line.x2 * state.InsetScaleX, line.y2 * state.InsetScaleY, kWhite);
}

analysis::DepthResult searchDepths(Workspace& workspace, const analysis::MapGraph& graph,
                                   int itemCount, DepthSearch search) {
    ProgressBarProgress progress(workspace.main.progressBar(), itemCount > kProgressShownAbove);
    analysis::DepthOptions options;
    // The maps, graphs and exports read the depths pair by pair.
    options.fullMatrix = true;
    options.threads = static_cast<int>(std::thread::hardware_concurrency());
    options.progress = &progress;
    return search(graph, options);
}

// The results window at the map window's size, shown with an empty surface.
PictureSurface& openResultsWindow(Workspace& workspace, ResultsWindow& window) {
    const PictureSurface& map = workspace.main.mapWindow();
    window.sizeToMap(map.widthUnits(), map.heightUnits());
    window.progressBar().hide();
    window.bringToFront();
    PictureSurface& surface = window.surface();
    surface.clear();
    return surface;
}

// 1 to 11 pixels; computed in single precision, as the values are kept.
int lineWidthOf(float integration) {
    return static_cast<int>(RoundHalfEven(integration * 10.0f + 1.0f));
}

// 100 to 245 units.
double discRadiusOf(float integration) {
    return static_cast<double>(RoundHalfEven(std::sqrt(integration * 50000.0f + 10000.0f)));
}

// Normalising over separate groups lets one small group take the top values and turn the rest of
// the map blue; the user is told once why the map looks flat.
void warnOfSeparateGroups(Workspace& workspace, std::span<const std::int32_t> reached,
                          const char* items) {
    const int groups = analysis::GroupCount(reached);
    if (groups < 2)
        return;
    Warn(workspace.dialogs,
         QStringLiteral("The %1 Fall into %2 Separate Groups - Integration Values are Normalised "
                        "over All of Them Together, not Group by Group")
             .arg(items)
             .arg(groups),
         kWarningTitle);
}

void finishAnalysis(Workspace& workspace, int largestDepth) {
    workspace.main.mapWindow().setDrawWidth(1);
    workspace.state.RadiusN = largestDepth;
    workspace.state.GraphSpan = largestDepth;
}

void analyseLines(Workspace& workspace) {
    ProjectState& state = workspace.state;
    // With a single line the search would only give the message the analysis gives below.
    if (state.LineCount() != 1 && !junctionsUpToDate(workspace))
        return;
    workspace.main.panel().show(
        "In the New Window, We Show the Integration/Access Values of Each Axial Line.",
        "The integration or access values represent 'how close' one line is to all others, ie: "
        "proximity or accessibility",
        "This is the concept of depth used in space syntax",
        "It is the number of twists in each street segment from one line to any other summed "
        "over all lines. It can be computed for a fixed number N of lines away from the line in "
        "question");
    redrawInset(workspace);
    HideRadiusSteppingControls(workspace);
    if (state.LineCount() == 1) {
        Warn(workspace.dialogs, "Only one axial line - enter more", kWarningTitle);
        finishAnalysis(workspace, 0);
        return;
    }

    const analysis::MapGraph graph(state.LineCount(), state.Junctions);
    analysis::DepthResult depths =
        searchDepths(workspace, graph, state.LineCount(), analysis::ComputeLineDepths);
    analysis::Integration integration = analysis::NormalisedIntegration(depths.totalDepth);
    // The results are stored only once all of them are known, so a fault never leaves a mix of
    // this run's tables and the last one's.
    state.LineAdjacency = analysis::LineAdjacencyMatrix(graph);
    state.LineDepth = std::move(depths.depth);
    state.LineRadius3Depth = std::move(depths.radius3Depth);
    state.ScratchIntegration = integration.values;
    state.LineIntegration = std::move(integration.values);
    const std::vector<std::int32_t> reached = std::move(depths.reached);
    // One message for every line that reaches no other; the run goes on.
    for ([[maybe_unused]] int number : integration.disconnectedNumbers)
        Warn(workspace.dialogs,
             "I think you have an axial line disconnected from the rest of the system, I will "
             "proceed anyway",
             kWarningTitle);

    PictureSurface& surface = openResultsWindow(workspace, workspace.axialResults);
    for (std::size_t index = 0; index < state.AxialLines.size(); ++index) {
        const AxialLine& line = state.AxialLines[index];
        surface.setDrawWidth(lineWidthOf(state.LineIntegration[index]));
        surface.line(line.x1, line.y1, line.x2, line.y2, kRed);
    }
    finishAnalysis(workspace, depths.largestDepth);
    warnOfSeparateGroups(workspace, reached, "Axial Lines");
}

void analyseJunctions(Workspace& workspace) {
    ProjectState& state = workspace.state;
    if (!junctionsUpToDate(workspace))
        return;
    workspace.main.panel().show(
        "In this Window, We Show the Integration/Access Values of Each Junction/Node.",
        "The integration values represent 'how close' one junction is to all others, ie: "
        "proximity/accessibility",
        "This is the same as the concept of depth in space syntax",
        "It is the number of junctions from one junction to any other summed over all junctions. "
        "It can be computed for a fixed number N of junctions away from the junction in "
        "question");
    redrawInset(workspace);
    if (state.JunctionCount() == 1) {
        Warn(workspace.dialogs,
             "Only one junction/node - enter more axial lines if you need this function",
             kWarningTitle);
        finishAnalysis(workspace, 0);
        return;
    }

    const analysis::MapGraph graph(state.LineCount(), state.Junctions);
    analysis::DepthResult depths =
        searchDepths(workspace, graph, state.JunctionCount(), analysis::ComputeJunctionDepths);
    analysis::Integration integration = analysis::NormalisedIntegration(depths.totalDepth);
    state.JunctionAdjacency = analysis::JunctionAdjacencyMatrix(graph);
    state.JunctionDepth = std::move(depths.depth);
    state.JunctionRadius3Depth = std::move(depths.radius3Depth);
    state.ScratchIntegration = integration.values;
    state.JunctionIntegration = std::move(integration.values);
    const std::vector<std::int32_t> reached = std::move(depths.reached);

    PictureSurface& surface = openResultsWindow(workspace, workspace.junctionResults);
    surface.setDrawWidth(1);
    for (const AxialLine& line : state.AxialLines)
        surface.line(line.x1, line.y1, line.x2, line.y2, kWhite);
    surface.setFillStyle(FillStyle::Solid);
    surface.setFillColor(kRed);
    for (std::size_t index = 0; index < state.Junctions.size(); ++index) {
        const Junction& junction = state.Junctions[index];
        surface.circle(junction.x, junction.y, discRadiusOf(state.JunctionIntegration[index]),
                       kRed);
    }
    finishAnalysis(workspace, depths.largestDepth);
    warnOfSeparateGroups(workspace, reached, "Junctions");
}

// A fault ends an analysis quietly; its bar must not stay up.
template <class Analysis> void runQuietly(Workspace& workspace, Analysis analysis) {
    try {
        analysis(workspace);
    } catch (...) {
        workspace.main.progressBar().hide();
    }
}

} // namespace

void AnalyseAxialLines(Workspace& workspace) {
    runQuietly(workspace, analyseLines);
}

void AnalyseJunctions(Workspace& workspace) {
    runQuietly(workspace, analyseJunctions);
}

void ConnectAnalysisOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    QObject::connect(&main.command(3), &QPushButton::clicked, &main,
                     [&workspace] { AnalyseAxialLines(workspace); });
    QObject::connect(&main.command(4), &QPushButton::clicked, &main,
                     [&workspace] { AnalyseJunctions(workspace); });
}

} // namespace vantrel

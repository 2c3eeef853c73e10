#include "gui/export/export_operations.h"

#include "core/analysis/depths.h"
#include "core/analysis/item_measures.h"
#include "core/export/atomic_file.h"
#include "core/export/measures_csv.h"
#include "core/export/text_exports.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "gui/host/dialogs.h"

#include <QAction>
#include <QPushButton>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace vantrel {

namespace {

struct Explanation {
    const char* title;
    const char* text;
};

// The menu message and the save dialog, the first steps every export shares.
std::optional<QString> AskFileName(Workspace& workspace, const Explanation& explanation,
                                   const FileRequest& request) {
    if (!workspace.main.menuMessagesOff())
        Warn(workspace.dialogs, explanation.text, explanation.title);
    return workspace.dialogs.saveFile(request);
}

void WriteFile(Workspace& workspace, const QString& fileName,
               const std::function<void(std::ostream&)>& write) {
    const std::optional<std::string> failure =
        exports::WriteFileAtomically(std::filesystem::path(fileName.toStdU16String()), write);
    if (failure)
        workspace.dialogs.message(QString::fromStdString(*failure), "Saving Failed",
                                  MessageButtons::Ok, MessageIcon::Warning);
}

void SaveTextFile(Workspace& workspace, const Explanation& explanation,
                  const std::function<void(std::ostream&)>& write) {
    QString& defaultExtension = workspace.main.textExportExtension();
    const std::optional<QString> fileName =
        AskFileName(workspace, explanation, {"Text (*.txt)|*.txt", defaultExtension});
    if (!fileName)
        return;
    // Set once the dialog has closed, so it takes effect from the next dialog on.
    defaultExtension = "txt";
    WriteFile(workspace, *fileName, write);
}

} // namespace

void SaveAxialLines(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    SaveTextFile(workspace,
                 {"Saving the Axial Lines", "This let's you save the axial map to a  text file as "
                                            "'k' lines with start and end x-y coordinates"},
                 [&state](std::ostream& out) { exports::WriteAxialLines(out, state.AxialLines); });
}

void SaveJunctions(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    SaveTextFile(workspace,
                 {"Saving the Junctions-Nodes", "This let's you save the junctions to a  text file "
                                                "as 'n' nodes with their x-y coordinates"},
                 [&state](std::ostream& out) { exports::WriteJunctions(out, state.Junctions); });
}

void SaveDataMatrix(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    SaveTextFile(workspace,
                 {"Saving the Data Matrix", "This let's you save the axial-line to junction binary "
                                            "matrix as a  row-column text file"},
                 [&state](std::ostream& out) {
                     exports::WriteDataMatrix(out, state.LineCount(), state.Junctions);
                 });
}

void SaveLineIntegration(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    SaveTextFile(workspace,
                 {"Saving the Axial Integration Values",
                  "This let's you save the axial integration/access values to a  text file"},
                 [&state](std::ostream& out) {
                     exports::WriteLineIntegration(out, state.LineCount(), state.LineIntegration);
                 });
}

void SaveJunctionIntegration(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    SaveTextFile(workspace,
                 {"Saving the Junction Integration Values",
                  "This let's you save the junction/node integration/access values to a  text "
                  "file"},
                 [&state](std::ostream& out) {
                     exports::WriteJunctionIntegration(out, state.JunctionCount(),
                                                       state.JunctionIntegration);
                 });
}

void SaveAllMeasures(Workspace& workspace, ResultsKind kind) {
    const ProjectState& state = workspace.state;
    const bool axial = kind == ResultsKind::Axial;
    const Explanation explanation =
        axial ? Explanation{"Saving All Measures of the Axial Lines",
                            "This saves every measure of each axial line (connectivity, depths, "
                            "integration, integration [HH], choice, control and the rest, for "
                            "radius n and radius 3) to a CSV file"}
              : Explanation{"Saving All Measures of the Junctions",
                            "This saves every measure of each junction (connectivity, depths, "
                            "integration, integration [HH], choice, control and the rest, for "
                            "radius n and radius 3) to a CSV file"};
    const std::optional<QString> fileName =
        AskFileName(workspace, explanation, {"CSV (*.csv)|*.csv", "csv"});
    if (!fileName)
        return;
    WriteFile(workspace, *fileName, [&state, axial](std::ostream& out) {
        const analysis::MapGraph graph(state.LineCount(), state.Junctions);
        const analysis::MeasureRadius radii[] = {{3}, {analysis::MeasureRadius::kN}};
        const analysis::MeasureOptions options{.radii = radii, .choice = true};
        exports::WriteMeasures(
            out, axial ? analysis::MeasureLines(graph, analysis::ComputeLineDepths(graph),
                                                Widened(state.AxialLines), options)
                       : analysis::MeasureJunctions(graph, analysis::ComputeJunctionDepths(graph),
                                                    options));
    });
}

void ConnectExportOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    const auto onMain = [&workspace, &main](QAction& item, void (*operation)(Workspace&)) {
        QObject::connect(&item, &QAction::triggered, &main,
                         [&workspace, operation] { operation(workspace); });
    };
    onMain(main.action("mnuAxial"), SaveAxialLines);
    onMain(main.action("mnuJunctions"), SaveJunctions);
    onMain(main.action("mnuData"), SaveDataMatrix);
    QObject::connect(&main.command(13), &QPushButton::clicked, &main,
                     [&workspace] { SaveLineIntegration(workspace); });
    QObject::connect(&main.command(14), &QPushButton::clicked, &main,
                     [&workspace] { SaveJunctionIntegration(workspace); });

    const auto onResults = [&workspace](ResultsWindow& window, void (*operation)(Workspace&)) {
        QObject::connect(&window.action("mnuAccessData"), &QAction::triggered, &window,
                         [&workspace, &window, operation] {
                             operation(workspace);
                             window.hideSteppingGroups();
                         });
    };
    onResults(workspace.axialResults, SaveLineIntegration);
    onResults(workspace.junctionResults, SaveJunctionIntegration);
    for (ResultsWindow* window : {&workspace.axialResults, &workspace.junctionResults}) {
        QObject::connect(&window->action("mnuAllMeasures"), &QAction::triggered, window,
                         [&workspace, window] { SaveAllMeasures(workspace, window->kind()); });
    }
}

} // namespace vantrel

#include "gui/export/export_operations.h"

#include "core/export/atomic_file.h"
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

// The menu message, the save dialog and the file: the steps every text export shares.
void SaveTextFile(Workspace& workspace, const Explanation& explanation,
                  const std::function<void(std::ostream&)>& write) {
    if (!workspace.main.menuMessagesOff())
        Warn(workspace.dialogs, explanation.text, explanation.title);

    QString& defaultExtension = workspace.main.textExportExtension();
    const std::optional<QString> fileName =
        workspace.dialogs.saveFile({"Text (*.txt)|*.txt", defaultExtension});
    if (!fileName)
        return;
    // Set once the dialog has closed, so it takes effect from the next dialog on.
    defaultExtension = "txt";

    const std::optional<std::string> failure =
        exports::WriteFileAtomically(std::filesystem::path(fileName->toStdU16String()), write);
    if (failure)
        workspace.dialogs.message(QString::fromStdString(*failure), "Saving Failed",
                                  MessageButtons::Ok, MessageIcon::Warning);
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
}

} // namespace vantrel

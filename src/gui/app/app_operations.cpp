#include "gui/app/app_operations.h"

#include "gui/app/help_window.h"
#include "gui/app/main_window.h"
#include "gui/app/program_window.h"
#include "gui/app/workspace.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

namespace vantrel {

void ShowHelp(Workspace& workspace) {
    workspace.helpWindow.show();
    workspace.helpWindow.raise();
}

void ShowProgramPicture(Workspace& workspace) {
    workspace.programWindow.show();
    workspace.programWindow.raise();
}

void RecordMenuMessageSwitch(Workspace& workspace) {
    workspace.main.box(9).setText(workspace.main.check(1).isChecked() ? "1" : "0");
}

void Quit(Workspace& workspace) {
    // The main window stays when the user cancels the question about unsaved lines.
    if (!workspace.main.close())
        return;
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void ConnectAppOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    QObject::connect(&main.action("mnuComing"), &QAction::triggered, &main,
                     [&workspace] { ShowHelp(workspace); });
    QObject::connect(&main.action("mnuProgram"), &QAction::triggered, &main,
                     [&workspace] { ShowProgramPicture(workspace); });
    QObject::connect(&main.action("mnuQuit"), &QAction::triggered, &main,
                     [&workspace] { Quit(workspace); });
    QObject::connect(&main.check(1), &QCheckBox::toggled, &main,
                     [&workspace] { RecordMenuMessageSwitch(workspace); });
}

} // namespace vantrel

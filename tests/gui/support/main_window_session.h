// The main window on screen with scripted dialogs, as a user sees it after start-up.
#pragma once

#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/host/picture_surface.h"
#include "support/scripted_dialogs.h"

namespace vantrel::testing {

struct MainWindowSession {
    ScriptedDialogs dialogs;
    MainWindow main{dialogs};

    MainWindowSession() {
        main.resize(1100, 800);
        main.show();
        main.mapWindow().show();
    }
    ProjectState& state() { return main.state(); }
    PictureSurface& map() { return main.mapWindow(); }
    Workspace& workspace() { return main.workspace(); }
};

} // namespace vantrel::testing

// Start-up: the splash window first, then the main window, maximised, after the splash time,
// with the offer of any work a run left behind when it did not end cleanly.
#pragma once

#include "gui/app/main_window.h"
#include "gui/app/splash_window.h"

namespace vantrel {

class Startup {
public:
    explicit Startup(Dialogs& dialogs);

    // Shows the splash window and starts its timer.
    void begin();
    MainWindow& mainWindow() { return m_main; }
    SplashWindow& splashWindow() { return m_splash; }

private:
    void showMainWindow();

    SplashWindow m_splash;
    MainWindow m_main;
};

} // namespace vantrel

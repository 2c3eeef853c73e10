#include "gui/app/startup.h"

#include "gui/app/project_operations.h"
#include "gui/host/picture_surface.h"
#include "gui/host/window_geometry.h"

#include <QScreen>

namespace vantrel {

Startup::Startup(Dialogs& dialogs) : m_main(dialogs) {
    QObject::connect(&m_splash, &SplashWindow::finished, &m_main, [this] { showMainWindow(); });
}

void Startup::begin() {
    m_splash.adjustSize();
    if (const QScreen* screen = m_splash.screen())
        m_splash.move(screen->availableGeometry().center() - m_splash.rect().center());
    m_splash.show();
    m_splash.timer().start();
}

void Startup::showMainWindow() {
    m_main.mapWindow().show();
    m_splash.timer().stop();
    ShowMaximisedOnScreen(m_main);
    m_main.raise();
    m_main.activateWindow();
    OfferRecoveredWork(m_main.workspace());
}

} // namespace vantrel

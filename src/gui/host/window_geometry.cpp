#include "gui/host/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vantrel {

namespace {
QRect AvailableArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}
} // namespace

void ResizeWithinScreen(QWidget& window, int width, int height) {
    const QRect area = AvailableArea(window);
    window.resize(std::min(width, area.width()), std::min(height, area.height()));
}

void ShowMaximisedOnScreen(QWidget& window) {
    window.setGeometry(AvailableArea(window));
    window.showMaximized();
}

} // namespace vantrel

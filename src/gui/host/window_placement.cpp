#include "gui/host/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace vantrel {
namespace {

// Each window a little further right and down than the one placed before it.
constexpr int kCascadeStep = 28;
constexpr int kCascadeSteps = 8;

} // namespace

WindowPlacement::WindowPlacement(std::function<QPoint()> clearOf) : m_clearOf(std::move(clearOf)) {}

void WindowPlacement::manage(QWidget& window) {
    m_unplaced.insert(&window);
    window.installEventFilter(this);
}

// Qt sends the show event before the window appears, so it appears where it is put here.
bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !m_unplaced.remove(watched))
        return false;
    auto& window = static_cast<QWidget&>(*watched);
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int step = kCascadeStep * (m_placed++ % kCascadeSteps);
    const QPoint clear = m_clearOf() + QPoint(step, step);
    const QSize size(std::min(window.width(), area.right() - clear.x()),
                     std::min(window.height(), area.bottom() - clear.y()));
    if (size.width() > 0 && size.height() > 0 && size != window.size())
        window.resize(size);
    window.move(clear);
    return false;
}

} // namespace vantrel

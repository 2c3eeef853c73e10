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

// The frame's share of a window's outer size, from the window itself once it has a frame.
QSize FrameExtra(const QWidget& window, const QWidget& main) {
    const QSize own = window.frameGeometry().size() - window.size();
    return own.isEmpty() ? main.frameGeometry().size() - main.size() : own;
}

} // namespace

WindowPlacement::WindowPlacement(const QWidget& main, std::function<QRect()> room)
    : m_main(main), m_room(std::move(room)) {}

void WindowPlacement::manage(QWidget& window) {
    m_unplaced.insert(&window);
    window.installEventFilter(this);
}

// Qt sends the show event before the window appears, so it appears where it is put here.
bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show)
        return false;
    auto& window = static_cast<QWidget&>(*watched);
    const QRect room = m_room();
    if (m_unplaced.remove(watched)) {
        const int step = kCascadeStep * (m_placed++ % kCascadeSteps);
        window.move(room.topLeft() + QPoint(step, step));
    } else if (!room.contains(window.pos())) {
        return false;
    }
    const QSize frame = FrameExtra(window, m_main);
    const QSize fits(room.right() + 1 - window.x() - frame.width(),
                     room.bottom() + 1 - window.y() - frame.height());
    const QSize size = window.size().boundedTo(fits);
    if (size.width() > 0 && size.height() > 0 && size != window.size())
        window.resize(size);
    return false;
}

} // namespace vantrel

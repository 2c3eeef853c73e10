// Where the secondary windows appear: cascaded within a room of the main window that leaves its
// menus, its button column and its message panel in view, and shrunk to fit that room (their
// contents scroll inside). After that a window stays where the user puts it for the rest of the
// run; it is only kept within the room while it lies in it.
#pragma once

#include <QObject>
#include <QRect>
#include <QSet>

#include <functional>

class QWidget;

namespace vantrel {

class WindowPlacement : public QObject {
public:
    // `room` gives, in screen coordinates, the part of the screen the windows may cover, frames
    // included; `main` is the window whose frame tells how large the other windows' frames are
    // before they have one.
    WindowPlacement(const QWidget& main, std::function<QRect()> room);

    // The window is placed the first time it is shown, and kept within the room at every show.
    void manage(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QWidget& m_main;
    std::function<QRect()> m_room;
    QSet<QObject*> m_unplaced;
    int m_placed = 0;
};

} // namespace vantrel

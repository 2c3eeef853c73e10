// Where the secondary windows first appear: cascaded over the main window's map, clear of its
// menus and its button column, and within the screen. After that a window stays where the user
// puts it for the rest of the run.
#pragma once

#include <QObject>
#include <QPoint>
#include <QSet>

#include <functional>

class QWidget;

namespace vantrel {

class WindowPlacement : public QObject {
public:
    // `clearOf` gives, in screen coordinates, the top-left corner of the part of the main window
    // that the windows may cover.
    explicit WindowPlacement(std::function<QPoint()> clearOf);

    // The window is placed the first time it is shown.
    void manage(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<QPoint()> m_clearOf;
    QSet<QObject*> m_unplaced;
    int m_placed = 0;
};

} // namespace vantrel

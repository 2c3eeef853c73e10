// Helpers for GUI tests: finding widgets by object name and driving the pointer on a surface.
#pragma once

#include "gui/host/picture_surface.h"

#include <QPoint>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <initializer_list>

class QAction;
class QAbstractButton;

namespace vantrel::testing {

// The child of `parent` with this object name and type; fails the test when there is none.
template <class T> T& Find(const QObject& parent, const QString& objectName) {
    T* found = parent.findChild<T*>(objectName);
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(objectName));
    return *found;
}

// Triggers the menu item with this object name.
void Trigger(const QObject& window, const QString& itemName);
// Clicks the button with this object name.
void Click(const QObject& window, const QString& buttonName);

// Presses at `from` (pixels), moves through `moves`, and releases at `release`.
void Drag(PictureSurface& surface, QPoint from, std::initializer_list<QPoint> moves, QPoint release);
// A straight drag from one point to another, released where it ends.
void Drag(PictureSurface& surface, QPoint from, QPoint to);

// Pixel points in map units (twips), for comparing with the stored coordinates.
inline float Units(int pixels) { return static_cast<float>(pixels * 15); }

} // namespace vantrel::testing

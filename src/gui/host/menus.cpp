#include "gui/host/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vantrel {

namespace {
QMenu* Named(QMenu* menu, const char* objectName) {
    menu->setObjectName(objectName);
    menu->menuAction()->setObjectName(QString(objectName) + "Menu");
    return menu;
}
} // namespace

QMenu* AddMenu(QMenuBar* bar, const char* objectName, const QString& text) {
    return Named(bar->addMenu(text), objectName);
}

QMenu* AddSubmenu(QMenu* parent, const char* objectName, const QString& text) {
    return Named(parent->addMenu(text), objectName);
}

QAction* AddItem(QMenu* menu, const char* objectName, const QString& text) {
    QAction* item = menu->addAction(text);
    item->setObjectName(objectName);
    return item;
}

} // namespace vantrel

// Menus and items created with the object names that tests and scripts find them by.
#pragma once

#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace vantrel {

QMenu* AddMenu(QMenuBar* bar, const char* objectName, const QString& text);
QMenu* AddSubmenu(QMenu* parent, const char* objectName, const QString& text);
QAction* AddItem(QMenu* menu, const char* objectName, const QString& text);

} // namespace vantrel

#include "gui/app/window_accessibility.h"

#include "gui/app/help_window.h"
#include "gui/app/program_window.h"
#include "gui/app/splash_window.h"
#include "gui/app/text_window.h"

#include <QAccessibleWidget>

namespace vantrel {
namespace {

// Decided by class alone, never by whether the widget is a window when first asked: the answer is
// kept for the object's life, and every Qt class (menus, buttons made without a parent and placed
// later) keeps the interface Qt gives it.
QAccessibleInterface* WindowInterface(const QString&, QObject* object) {
    const QMetaObject* type = object->metaObject();
    if (type != &TextWindow::staticMetaObject && type != &HelpWindow::staticMetaObject &&
        type != &ProgramWindow::staticMetaObject && type != &SplashWindow::staticMetaObject)
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

void AnnouncePlainWidgetsAsWindows() {
    QAccessible::removeFactory(WindowInterface);
    QAccessible::installFactory(WindowInterface);
}

} // namespace vantrel

#include "gui/host/window_accessibility.h"

#include <QAccessibleWidget>
#include <QDialog>
#include <QMainWindow>

namespace vantrel {
namespace {

QAccessibleInterface* WindowInterface(const QString& key, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    // Asked once per class of the object, most derived first: only that first question counts.
    if (!widget || !widget->isWindow() || key != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (qobject_cast<QMainWindow*>(widget) || qobject_cast<QDialog*>(widget))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void AnnouncePlainWidgetsAsWindows() {
    QAccessible::removeFactory(WindowInterface);
    QAccessible::installFactory(WindowInterface);
}

} // namespace vantrel

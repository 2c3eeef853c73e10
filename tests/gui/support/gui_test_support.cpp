#include "support/gui_test_support.h"

#include <QAbstractButton>
#include <QAction>

namespace vantrel::testing {

void Trigger(const QObject& window, const QString& itemName) {
    QAction& item = Find<QAction>(window, itemName);
    QVERIFY2(item.isEnabled(), qPrintable(itemName + " is disabled"));
    item.trigger();
}

void Click(const QObject& window, const QString& buttonName) {
    Find<QAbstractButton>(window, buttonName).click();
}

void Drag(PictureSurface& surface, QPoint from, std::initializer_list<QPoint> moves,
          QPoint release) {
    QTest::mousePress(&surface, Qt::LeftButton, Qt::NoModifier, from);
    for (QPoint to : moves)
        QTest::mouseMove(&surface, to);
    QTest::mouseRelease(&surface, Qt::LeftButton, Qt::NoModifier, release);
}

void Drag(PictureSurface& surface, QPoint from, QPoint to) { Drag(surface, from, {to}, to); }

} // namespace vantrel::testing

// What a screen-reader or keyboard user meets: open menus and message-box buttons read through
// the accessibility layer, mnemonics of their own, the pen width and Escape by keyboard.
#include "gui/app/help_window.h"
#include "gui/app/main_window.h"
#include "gui/app/text_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "gui/host/qt_dialogs.h"
#include "support/scripted_dialogs.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

using namespace vantrel;
using namespace vantrel::testing;

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    // As under a screen reader: every change of a widget is announced, and its interface kept.
    void initTestCase() { QAccessible::setActive(true); }
    void everyOpenMenuReadsItsItemsWithMnemonicsOfTheirOwn();
    void messageBoxButtonsReadAsButtonsWithTheirTexts();
    void thePenWidthTakesFocusAndEscapeClosesTheTextWindows();
};

// Every open menu reads its items; the items added to the documented menus leave every
// documented mnemonic to its own item.
void AccessibilityTest::everyOpenMenuReadsItsItemsWithMnemonicsOfTheirOwn() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    const QStringList added = {"mnuOpenProject", "mnuSaveProject", "mnuSaveProjectAs",
                               "mnuImportLines", "mnuAllMeasures"};
    QStringList checked;
    for (QWidget* window : QList<QWidget*>{&main, &main.workspace().axialResults,
                                           &main.workspace().junctionResults}) {
        window->show();
        for (QMenu* menu : window->findChildren<QMenu*>()) {
            menu->popup(window->mapToGlobal(QPoint(20, 20)));
            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(menu);
            QVERIFY2(read && read->role() == QAccessible::PopupMenu, qPrintable(menu->title()));
            QStringList readTexts, shownTexts;
            for (int index = 0; index < read->childCount(); ++index)
                if (read->child(index)->role() != QAccessible::Separator) {
                    QCOMPARE(read->child(index)->role(), QAccessible::MenuItem);
                    readTexts << read->child(index)->text(QAccessible::Name);
                }
            for (const QAction* item : menu->actions()) {
                if (!item->isSeparator())
                    shownTexts << QString(item->text()).remove('&');
                if (!added.contains(item->objectName()))
                    continue;
                checked << item->objectName();
                const QKeySequence mnemonic = QKeySequence::mnemonic(item->text());
                for (const QAction* other : menu->actions())
                    QVERIFY2(other == item || QKeySequence::mnemonic(other->text()) != mnemonic,
                             qPrintable(item->text() + " and " + other->text()));
            }
            QCOMPARE(readTexts, shownTexts);
            menu->hide();
        }
    }
    QVERIFY(checked.size() >= added.size());
}

void AccessibilityTest::messageBoxButtonsReadAsButtonsWithTheirTexts() {
    QWidget parent;
    QtDialogs dialogs(&parent);
    for (const MessageButtons buttons :
         {MessageButtons::RestoreDiscard, MessageButtons::SaveDiscardCancel}) {
        // What a screen reader reads of each button: buttons, with their texts.
        QStringList read;
        QTimer::singleShot(0, [&read] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            for (QAbstractButton* button : box->buttons()) {
                const QAccessibleInterface* readButton =
                    QAccessible::queryAccessibleInterface(button);
                if (readButton->role() == QAccessible::Button)
                    read << readButton->text(QAccessible::Name);
            }
            box->button(QMessageBox::Discard)->click();
        });
        QCOMPARE(dialogs.message("Keep the lines?", "VANTREL", buttons, MessageIcon::Question,
                                 std::nullopt),
                 MessageAnswer::Discard);
        const bool restore = buttons == MessageButtons::RestoreDiscard;
        QVERIFY2(read.size() == (restore ? 2 : 3) && read.contains(restore ? "Restore" : "Save"),
                 qPrintable(read.join(", ")));
    }
}

void AccessibilityTest::thePenWidthTakesFocusAndEscapeClosesTheTextWindows() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    QVERIFY(main.widthScrollBar().focusPolicy() & Qt::TabFocus);
    for (QWidget* window :
         QList<QWidget*>{&main.workspace().textWindow, &main.workspace().helpWindow}) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->findChild<QPlainTextEdit*>("Text1"), Qt::Key_Escape);
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }
}

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"

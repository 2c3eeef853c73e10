// The secondary windows on a screen of 1024 by 768 pixels with window frames: each opens between
// the main window's button column and its message panel, shrunk to fit there, so that every
// button and the whole panel stay in view.
#include "gui/app/help_window.h"
#include "gui/app/main_window.h"
#include "gui/app/text_window.h"
#include "gui/app/workspace.h"
#include "gui/display/numbered_map_window.h"
#include "gui/display/results_window.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QtTest>

using namespace vantrel;
using namespace vantrel::testing;

class WindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void everySecondaryWindowOpensBetweenTheButtonsAndThePanel();
};

void WindowLayoutTest::everySecondaryWindowOpensBetweenTheButtonsAndThePanel() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QCOMPARE(main.screen()->availableGeometry().size(), QSize(1024, 768));
    const int buttonsRight = main.command(2).mapToGlobal(QPoint(main.command(2).width(), 0)).x();
    const int panelLeft = main.panel().box(3).mapToGlobal(QPoint(0, 0)).x();

    Workspace& workspace = main.workspace();
    for (ResultsWindow* results : {&workspace.axialResults, &workspace.junctionResults}) {
        results->sizeToMap(9000, 6750);
        results->show();
    }
    Trigger(main, "mnuComing");
    Trigger(main, "mnuAxials");
    workspace.textWindow.show();
    QList<QPoint> corners;
    for (const QWidget* window :
         QList<QWidget*>{&workspace.axialResults, &workspace.junctionResults, &workspace.helpWindow,
                         &workspace.numberedAxialMap, &workspace.textWindow}) {
        const QRect frame = window->frameGeometry();
        QVERIFY2(frame.left() > buttonsRight && frame.right() < panelLeft &&
                     main.screen()->availableGeometry().contains(frame) &&
                     !corners.contains(frame.topLeft()),
                 qPrintable(window->objectName()));
        corners << frame.topLeft();
    }
    // The map, larger than the room, scrolls inside its window, which keeps its size.
    QVERIFY(workspace.axialResults.findChild<QScrollArea*>()->horizontalScrollBar()->maximum() > 0);
    const QSize given = workspace.axialResults.size();
    workspace.axialResults.sizeToMap(9000, 6750);
    QCOMPARE(workspace.axialResults.size(), given);
}

// A screen of 1024 by 768 pixels whose windows have frames, as under a window manager.
int main(int argc, char* argv[]) {
    QTemporaryFile screens;
    if (!screens.open())
        return 1;
    screens.write(R"({"windowFrameMargins": true, "screens": [{"name": "screen", "width": 1024,
        "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    QApplication application(argc, argv);
    WindowLayoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_layout.moc"

// Start-up: the main window's layout, texts and state, the splash window and the Help menu.
#include "gui/app/help_window.h"
#include "gui/app/main_window.h"
#include "gui/app/program_window.h"
#include "gui/app/splash_window.h"
#include "gui/app/startup.h"
#include "gui/app/text_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

using namespace vantrel;
using namespace vantrel::testing;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void theMainWindowHasItsCaptionAndStartTexts();
    void buttonsHaveTheirCaptionsTooltipsAndVisibility();
    void theProjectStartsEmptyWithMeasuredInsetScales();
    void theMenusHoldEveryItem();
    void theSplashWindowGivesWayToTheMaximisedMainWindow();
    void theMenuMessageSwitchIsMirroredInText9();
    void helpShowsItsTextAndThisProgramShowsAPicture();
    void everyControlHasAnAccessibleName();
    void quitClosesEveryWindow();
};

void StartupTest::theMainWindowHasItsCaptionAndStartTexts() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    QCOMPARE(main.windowTitle(), QString("VANTREL Generalized Space Syntax V1.02"));
    QCOMPARE(main.label(1).text(),
             QString(" The Text Box Below Tells You What Analytical Operations You Are Using"));
    QCOMPARE(main.panel().box(3).toPlainText(),
             QString("First Use Zoom In or Out to Get the Correct Drawing Scale and then FIX It"));
    QCOMPARE(main.panel().box(3).font().pointSize(), 12);
    QCOMPARE(main.panel().box(4).toPlainText(), QString("IMPORTANT ADVICE TO USERS"));
    QCOMPARE(main.panel().box(4).font().pointSize(), 12);
    QCOMPARE(main.panel().box(5).toPlainText(),
             QString("This is a generalized space syntax program. It computes both the "
                     "accessibilities of axial lines and their intersections at junctions."));
    QCOMPARE(main.panel().box(6).toPlainText(),
             QString("In short, the accessibilities of the primal and its dual "));
    QCOMPARE(main.panel().box(7).toPlainText(),
             QString(" This program lets you do space syntax  the traditional way using axial "
                     "lines - the primal problem -  as well as the new way based on junctions "
                     "or nodes - or the dual problem"));
    for (int number : {5, 6, 7})
        QCOMPARE(main.panel().box(number).font().pointSize(), 10);
    QCOMPARE(main.label(2).text(), QString("Window Shows a Scaled Down Axial Map"));
    QCOMPARE(main.box(1).text(), QString());
    QCOMPARE(main.box(2).text(), QString());
    QCOMPARE(main.box(11).text(), QString("1"));
    QCOMPARE(main.box(8).text(), QString("1000"));
    QCOMPARE(main.box(10).text(), QString(" Threshold Value"));
    QCOMPARE(main.label(3).text(), QString("SNAP"));
    QCOMPARE(main.check(2).text(), QString("Identify Thresholds"));
    QCOMPARE(main.check(3).text(), QString("Snap/Merge Identified Junctions"));
    QCOMPARE(main.label(5).text(), QString());
    QCOMPARE(main.insetWindow().toolTip(), QString("This always show the axial map"));
    QCOMPARE(main.progressBar().toolTip(),
             QString("This charts the progress of the distance-accessibility-integration "
                     "calculations"));
}

void StartupTest::buttonsHaveTheirCaptionsTooltipsAndVisibility() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.show();
    const struct {
        int number;
        const char* caption;
        const char* toolTip;
    } visible[] = {
        {1, "Check Axial  Lines", "Changes the Position of an Axial Line"},
        {2, "Compute Intersections", "Computes Locations of Junctions"},
        {3, "Axial Line  Analysis", "The PRIMAL: Computes Line Accessibilities"},
        {4, "Junction Analysis", "The DUAL: Computes Junction Accessibilities"},
        {5, "Clear and Reload", "Restarts the Project Afresh"},
        {6, "Clear Background", nullptr},
        {8, "View-Merge Intersections", "View Junctions and then Snap"},
        {15, "", "Zoom-Out"},
        {16, "", "Zoom-In"},
        {17, "FIX", "Fix the Scale"},
        {30, "", "Color to Draw With"},
    };
    for (const auto& button : visible) {
        QPushButton& command = main.command(button.number);
        QVERIFY2(command.isVisible(), qPrintable(command.objectName()));
        QCOMPARE(command.text(), QString(button.caption));
        if (button.toolTip)
            QCOMPARE(command.toolTip(), QString(button.toolTip));
    }
    for (int number : {7, 9, 10, 11, 12, 13, 14, 18, 19, 20, 21, 22, 23, 24, 26, 27, 28, 29, 31,
                       32, 33, 34})
        QVERIFY2(main.command(number).isHidden(), qPrintable(main.command(number).objectName()));
    QVERIFY(main.box(9).isHidden());
    QVERIFY(main.box(8).isHidden());
    QVERIFY(main.box(10).isHidden());
    QVERIFY(main.label(3).isHidden());
    QVERIFY(main.label(4).isHidden());
    QVERIFY(main.check(2).isHidden());
    QVERIFY(main.check(3).isHidden());
    QVERIFY(main.check(1).isVisible());
    QCOMPARE(main.check(1).text(), QString("Switch off Menu Messages?"));
    QCOMPARE(main.check(1).toolTip(), QString("Turns Off The Function's Explanation "));
    QCOMPARE(main.box(1).toolTip(), QString("Number of Axial Lines"));
    QCOMPARE(main.box(2).toolTip(), QString("Number of Street Intersections"));
    QCOMPARE(main.box(11).toolTip(), QString("Line Drawing Width"));
    QVERIFY(main.progressBar().isHidden());

    for (ResultsWindow* window : {&main.workspace().axialResults, &main.workspace().junctionResults})
        for (int number = 1; number <= 6; ++number)
            QVERIFY(window->command(number).isHidden());

    // The map area sits left of the panel and the inset, the buttons left of the map.
    const QRect map = main.findChild<QScrollArea*>("mapArea")->geometry();
    QVERIFY(main.command(2).geometry().right() < map.left());
    QVERIFY(main.panel().box(3).geometry().left() > map.right());
    QVERIFY(main.insetWindow().geometry().left() > map.right());
    QVERIFY(main.insetWindow().geometry().top() > main.panel().box(7).geometry().bottom());
}

void StartupTest::theProjectStartsEmptyWithMeasuredInsetScales() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    const ProjectState& state = main.state();
    QCOMPARE(state.LineCount(), 0);
    QCOMPARE(state.JunctionCount(), 0);
    QVERIFY(!state.DrawingEnabled);
    QVERIFY(!state.IntersectionsComputed);
    QCOMPARE(state.RadiusN, 0);
    QCOMPARE(state.GraphSpan, 0);
    QCOMPARE(state.ZoomFactorX, 1.0f);
    QCOMPARE(state.ZoomFactorY, 1.0f);
    QCOMPARE(state.MapWidth, float(main.mapWindow().widthUnits()));
    QCOMPARE(state.MapHeight, float(main.mapWindow().heightUnits()));
    QCOMPARE(state.InsetScaleX,
             float(main.insetWindow().widthUnits() / main.mapWindow().widthUnits()));
    QCOMPARE(state.InsetScaleY,
             float(main.insetWindow().heightUnits() / main.mapWindow().heightUnits()));
    QVERIFY(state.InsetScaleX > 0 && state.InsetScaleX < 1);
    QCOMPARE(main.mapWindow().drawWidth(), 1);
    QVERIFY(dialogs.calls().empty());
}

void StartupTest::theMenusHoldEveryItem() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    const struct {
        const char* name;
        const char* text;
    } items[] = {
        {"mnuOpen", "&Open"},         {"mnuMap", "&MapWindow"},
        {"mnuAxial", "&AxialLines"},  {"mnuJunctions", "&Junction-Nodes"},
        {"mnuData", "&Data-Matrix"},  {"mnuMapWindow", "&MapWindow"},
        {"mnuQuit", "&Quit"},         {"mnuCopy", "&Copy"},
        {"mnuPaste", "&Paste"},       {"mnuClear", "&Clear"},
        {"mnuAxials", "&Numbered_Axial_Map"}, {"mnuJunctionMap", "&Numbered_Junction_Map"},
        {"mnuAxialMap", "&Axial_Map"}, {"mnuComing", "&Coming ..."},
        {"mnuProgram", "&This Program"},
    };
    for (const auto& item : items)
        QCOMPARE(main.action(item.name).text(), QString(item.text));
    QCOMPARE(Find<QMenu>(main, "mnuStatistics").title(), QString("&Statistics"));
}

void StartupTest::theSplashWindowGivesWayToTheMaximisedMainWindow() {
    ScriptedDialogs dialogs;
    Startup startup(dialogs);
    startup.begin();
    QVERIFY(startup.splashWindow().isVisible());
    QVERIFY(!startup.mainWindow().isVisible());
    QCOMPARE(startup.splashWindow().timer().interval(), 2500);
    QVERIFY(startup.splashWindow().timer().isSingleShot());

    startup.splashWindow().timer().setInterval(10);
    startup.splashWindow().timer().start();
    QTRY_VERIFY(startup.mainWindow().isVisible());
    QVERIFY(!startup.splashWindow().isVisible());
    QVERIFY(startup.mainWindow().mapWindow().isVisible());
    const QRect available = startup.mainWindow().screen()->availableGeometry();
    const QRect frame = startup.mainWindow().frameGeometry();
    QVERIFY(frame.width() >= available.width() - 8 && frame.width() <= available.width());
    QVERIFY(frame.height() >= available.height() - 8 && frame.height() <= available.height());
}

void StartupTest::theMenuMessageSwitchIsMirroredInText9() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.check(1).setChecked(true);
    QCOMPARE(main.box(9).text(), QString("1"));
    QVERIFY(main.menuMessagesOff());
    main.check(1).setChecked(false);
    QCOMPARE(main.box(9).text(), QString("0"));
}

void StartupTest::helpShowsItsTextAndThisProgramShowsAPicture() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    Trigger(main, "mnuComing");
    QVERIFY(main.workspace().helpWindow.isVisible());
    const QString help = main.workspace().helpWindow.box().toPlainText();
    QVERIFY(help.startsWith("As yet there is no help or manual for this program. In version "
                            "1.01, we will produce a manual. In time, we will put all this "
                            "online. Visit our web site at "));
    QVERIFY(help.endsWith(kWebSiteAddress));

    Trigger(main, "mnuProgram");
    ProgramWindow& program = main.workspace().programWindow;
    QVERIFY(program.isVisible());
    QCOMPARE(program.objectName(), QString("Form2"));
    QCOMPARE(program.windowTitle(), QString("This Program"));
    QVERIFY(!program.picture().pixmap().isNull());
}

void StartupTest::everyControlHasAnAccessibleName() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    QCOMPARE(main.mapWindow().accessibleName(), QString("Map Window"));
    QCOMPARE(main.insetWindow().accessibleName(), QString("Inset Window"));
    QCOMPARE(main.box(1).accessibleName(), QString("Number of Axial Lines"));
    QCOMPARE(main.box(2).accessibleName(), QString("Number of Street Intersections"));
    QCOMPARE(main.workspace().axialResults.surface().accessibleName(), QString("Results Map"));
    const QList<QWidget*> windows = {&main,
                                     &main.workspace().axialResults,
                                     &main.workspace().junctionResults};
    for (QWidget* window : windows)
        for (QWidget* widget : window->findChildren<QWidget*>())
            if (!widget->objectName().startsWith("qt_") &&
                (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<PictureSurface*>(widget)))
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));

    // Every top-level window is a window to the accessibility layer.
    SplashWindow splash;
    const QList<QWidget*> topLevel = {&main, &main.workspace().axialResults,
                                      &main.workspace().textWindow, &splash};
    for (QWidget* window : topLevel) {
        const QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(window);
        QVERIFY2(announced && announced->role() == QAccessible::Window,
                 window->metaObject()->className());
    }
}

void StartupTest::quitClosesEveryWindow() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.show();
    Trigger(main, "mnuComing");
    Trigger(main, "mnuProgram");
    main.workspace().axialResults.show();
    Trigger(main, "mnuQuit");
    QVERIFY(!main.isVisible());
    QVERIFY(!main.workspace().helpWindow.isVisible());
    QVERIFY(!main.workspace().programWindow.isVisible());
    QVERIFY(!main.workspace().axialResults.isVisible());
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"

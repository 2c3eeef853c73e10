// Starting a project afresh with "Clear and Reload", and removing the plan with "Clear
// Background".
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "support/gui_test_support.h"
#include "support/main_window_session.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

QImage Plan(QSize size) {
    QImage plan(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            plan.setPixelColor(x, y, QColor((x * 3) % 256, (y * 11) % 256, 128));
    return plan;
}

struct Session : MainWindowSession {
    void reset() { Click(main, "Command5"); }
    void fix() { Click(main, "Command17"); }
};

bool IsFilledWith(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != colour)
                return false;
    return true;
}

} // namespace

class NewProjectTest : public QObject {
    Q_OBJECT
private slots:
    void resetEmptiesTheProjectAndRepaintsThePlanWithoutTheLines();
    void resetBringsBackTheScaleControlsWithABlackPenAndWidthText1();
    void afterResetTheNextLineUsesTheScrollBarsValue();
    void resetClearsAndClosesBothResultsWindows();
    void resetRestoresThePanelAndTheThresholdControls();
    void resetWithNoPlanEverOpenedEmptiesTheMapAtItsStartSize();
    void clearBackgroundEmptiesThePictureButKeepsTheLines();
    void afterResetTheRedCaptionsOfTheChecksStillShowRed();
};

void NewProjectTest::resetEmptiesTheProjectAndRepaintsThePlanWithoutTheLines() {
    Session session;
    const QImage plan = Plan({400, 300});
    session.main.storedPlan() = plan;
    session.reset();
    Click(session.main, "Command15");
    session.fix();
    Drag(session.map(), {10, 10}, {200, 200});
    Drag(session.map(), {10, 200}, {200, 10});
    session.state().Junctions.push_back({1, 2, 1500, 1500});
    session.state().LineJunctionMatrix = Matrix<std::int16_t>(2, 1);
    session.state().LineIntegration = {0.5f, 1.0f};
    session.state().IntersectionsComputed = true;
    session.main.box(2).setText("1");
    QVERIFY(session.map().image().size() != plan.size());

    session.reset();

    const ProjectState& state = session.state();
    QCOMPARE(state.LineCount(), 0);
    QCOMPARE(state.JunctionCount(), 0);
    QVERIFY(state.LineJunctionMatrix.empty());
    QVERIFY(state.LineIntegration.empty());
    QVERIFY(!state.IntersectionsComputed);
    QVERIFY(!state.DrawingEnabled);
    QCOMPARE(session.main.box(1).text(), QString());
    QCOMPARE(session.main.box(2).text(), QString());
    QCOMPARE(session.map().image(), plan);
    QCOMPARE(state.MapWidth, 6000.0f);
    QCOMPARE(state.MapHeight, 4500.0f);
    QCOMPARE(state.ZoomFactorX, 1.0f);
    QCOMPARE(state.ZoomFactorY, 1.0f);
    QCOMPARE(state.InsetScaleX, static_cast<float>(3300.0 / 6000.0));
    QCOMPARE(state.InsetScaleY, static_cast<float>(2475.0 / 4500.0));
    QVERIFY(IsFilledWith(session.main.insetWindow().image(), Qt::black));

    // Pointer events do nothing until the scale is fixed again.
    Drag(session.map(), {10, 10}, {200, 200});
    QCOMPARE(session.state().LineCount(), 0);
    QCOMPARE(session.map().image(), plan);
}

void NewProjectTest::resetBringsBackTheScaleControlsWithABlackPenAndWidthText1() {
    Session session;
    session.dialogs.answerColour(QColor(0, 200, 0));
    Click(session.main, "Command30");
    session.main.widthScrollBar().setValue(6);
    session.fix();
    session.map().setDrawWidth(6);

    session.reset();

    QCOMPARE(session.map().foreColor(), QColor(Qt::black));
    QCOMPARE(session.map().drawWidth(), 1);
    QCOMPARE(session.main.box(11).text(), QString("1"));
    QCOMPARE(session.main.widthScrollBar().value(), 6);
    for (int number : {15, 16, 17, 30})
        QVERIFY(session.main.command(number).isVisible());
    QVERIFY(session.main.label(5).isVisible());
    QVERIFY(session.main.box(11).isVisible());
    QVERIFY(session.main.widthScrollBar().isVisible());
}

void NewProjectTest::afterResetTheNextLineUsesTheScrollBarsValue() {
    Session session;
    session.main.widthScrollBar().setValue(5);
    session.fix();
    session.reset();
    QCOMPARE(session.main.box(11).text(), QString("1"));
    session.fix();
    Drag(session.map(), {20, 100}, {300, 100});
    const QImage& image = session.map().image();
    QCOMPARE(image.pixelColor(150, 102), QColor(Qt::black));
    QCOMPARE(image.pixelColor(150, 98), QColor(Qt::black));
    QCOMPARE(image.pixelColor(150, 105), QColor(Qt::white));
}

void NewProjectTest::resetClearsAndClosesBothResultsWindows() {
    Session session;
    for (ResultsWindow* window :
         {&session.main.workspace().axialResults, &session.main.workspace().junctionResults}) {
        window->surface().setBackColor(Qt::white);
        window->surface().clear();
        window->surface().line(0, 0, 1500, 1500, Qt::red);
        window->layOutRadiusGroup();
        window->layOutSpanGroup();
        window->show();
    }

    session.reset();

    for (ResultsWindow* window :
         {&session.main.workspace().axialResults, &session.main.workspace().junctionResults}) {
        QVERIFY(!window->isVisible());
        QCOMPARE(window->surface().backColor(), QColor(Qt::black));
        QVERIFY(IsFilledWith(window->surface().image(), Qt::black));
        for (int number : {1, 2, 4, 5})
            QVERIFY(window->command(number).isHidden());
        QVERIFY(window->label(1).isHidden());
        QVERIFY(window->label(2).isHidden());
        QVERIFY(window->box(1).isHidden());
        QVERIFY(window->box(3).isHidden());
    }
}

void NewProjectTest::resetRestoresThePanelAndTheThresholdControls() {
    Session session;
    MainWindow& main = session.main;
    main.panel().show("Something else", "5", "6", "7");
    main.label(2).setText("Another caption");
    main.box(8).setText("250");
    main.box(8).show();
    main.check(2).show();
    main.label(3).setText("MERGE");

    session.reset();

    QCOMPARE(main.panel().box(3).toPlainText(),
             QString("First Use Zoom In or Out to Get the Correct Drawing Scale and then FIX It"));
    QCOMPARE(main.panel().box(4).toPlainText(), QString("IMPORTANT ADVICE TO USERS"));
    QCOMPARE(main.panel().box(6).toPlainText(),
             QString("In short, the accessibilities of the primal and its dual "));
    QCOMPARE(main.label(1).text(),
             QString(" The Text Box Below Tells You What Analytical Operations You Are Using"));
    QCOMPARE(main.label(2).text(), QString("Window Shows a Scaled Down Axial Map"));
    QCOMPARE(main.box(8).text(), QString("1000"));
    QCOMPARE(main.box(10).text(), QString(" Threshold Value"));
    QCOMPARE(main.label(3).text(), QString("SNAP"));
    QVERIFY(main.box(8).isHidden());
    QVERIFY(main.check(2).isHidden());
    QVERIFY(main.box(9).isHidden());
}

void NewProjectTest::resetWithNoPlanEverOpenedEmptiesTheMapAtItsStartSize() {
    Session session;
    Click(session.main, "Command15");
    Click(session.main, "Command15");
    session.fix();
    Drag(session.map(), {10, 10}, {300, 300});

    session.reset();

    QCOMPARE(session.map().image().size(), QSize(600, 450));
    QVERIFY(IsFilledWith(session.map().image(), Qt::white));
    QCOMPARE(session.state().LineCount(), 0);
    QCOMPARE(session.state().MapWidth, 9000.0f);
    QCOMPARE(session.state().ZoomFactorX, 1.0f);
}

void NewProjectTest::clearBackgroundEmptiesThePictureButKeepsTheLines() {
    Session session;
    session.main.storedPlan() = Plan({300, 200});
    session.reset();
    session.fix();
    Drag(session.map(), {10, 10}, {100, 100});

    Click(session.main, "Command6");

    // The plan is gone and the stored line drawn again.
    QImage withoutLine = session.map().image();
    QCOMPARE(withoutLine.pixelColor(50, 50), QColor(Qt::black));
    QPainter(&withoutLine).fillRect(0, 0, 110, 110, Qt::white);
    QVERIFY(IsFilledWith(withoutLine, Qt::white));
    QCOMPARE(session.map().image().size(), QSize(300, 200));
    QCOMPARE(session.state().LineCount(), 1);
    QCOMPARE(session.main.box(1).text(), QString("1"));
    QVERIFY(session.state().DrawingEnabled);
    QCOMPARE(session.main.storedPlan(), Plan({300, 200}));
}

void NewProjectTest::afterResetTheRedCaptionsOfTheChecksStillShowRed() {
    Session session;
    session.reset();
    const QLabel& caption = session.main.label(2);
    QCOMPARE(caption.palette().color(QPalette::WindowText), QColor(Qt::black));
    Click(session.main, "Command8");
    QCOMPARE(caption.text(), QString("Red Show Junctions within Threshold"));
    QCOMPARE(caption.palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(caption.styleSheet().isEmpty());
}

QTEST_MAIN(NewProjectTest)
#include "test_new_project.moc"

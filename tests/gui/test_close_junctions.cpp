// "View-Merge Intersections": junctions within the threshold of another shown red, others blue.
#include "core/app/project_state.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/geometry/proximity_operation.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGreen(0, 160, 0);

bool Near(const QImage& image, QPoint at, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(at.x() + dx, at.y() + dy) &&
                image.pixelColor(at.x() + dx, at.y() + dy) == colour)
                return true;
    return false;
}

QPoint Pixel(float x, float y) {
    return {qRound(x / 15), qRound(y / 15)};
}

QPoint InsetPixel(const ProjectState& state, float x, float y) {
    return Pixel(x * state.InsetScaleX, y * state.InsetScaleY);
}

void UsePlainPlan(MainWindow& main) {
    QImage plan(60, 45, QImage::Format_RGB32);
    plan.fill(kGreen);
    main.storedPlan() = plan;
}

} // namespace

class CloseJunctionsTest : public QObject {
    Q_OBJECT
private slots:
    void junctionsJustInsideTheThresholdAreRedOnBothWindows();
    void junctionsExactlyTheThresholdApartAreBlueOnTheMapOnly();
    void theTestIsPerAxisNotADistance();
    void identifyThresholdsDrawsUnfilledRingsOfTheThreshold();
    void thePlanAndTheLinesStayVisibleUnderTheMarks();
    void aThresholdThatIsNotANumberMakesEveryJunctionBlue();
    void anEnormousThresholdMakesEveryJunctionRed();
    void theThresholdControlsAppearWithTheExplanation();
};

void CloseJunctionsTest::junctionsJustInsideTheThresholdAreRedOnBothWindows() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    UsePlainPlan(main);
    ProjectState& state = main.state();
    state.Junctions = {{1, 2, 2250, 2250}, {1, 3, 3249, 3249}, {2, 3, 6000, 4500}};
    Click(main, "Command8");

    const QImage& map = main.mapWindow().image();
    const QImage& inset = main.insetWindow().image();
    for (int index : {0, 1}) {
        const Junction& junction = state.Junctions[index];
        QCOMPARE(map.pixelColor(Pixel(junction.x, junction.y)), kRed);
        QCOMPARE(inset.pixelColor(InsetPixel(state, junction.x, junction.y)), kRed);
    }
    // Radius 60 units is 4 pixels, outlined white.
    QCOMPARE(map.pixelColor(150 + 4, 150), kWhite);
    QCOMPARE(map.pixelColor(150 + 3, 150), kRed);
    QCOMPARE(map.pixelColor(150 + 5, 150), kGreen);
    QCOMPARE(map.pixelColor(400, 300), kBlue);
    QCOMPARE(inset.pixelColor(InsetPixel(state, 6000, 4500)), kBlack);
    QCOMPARE(main.label(2).text(), QString("Red Show Junctions within Threshold"));
    QCOMPARE(main.label(2).palette().color(QPalette::WindowText), kRed);
    QCOMPARE(main.mapWindow().fillStyle(), FillStyle::Transparent);
    QCOMPARE(main.mapWindow().drawWidth(), 1);
    QVERIFY(dialogs.calls().empty());
    // Nothing moves.
    QCOMPARE(state.Junctions[1], (Junction{1, 3, 3249, 3249}));
}

void CloseJunctionsTest::junctionsExactlyTheThresholdApartAreBlueOnTheMapOnly() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    state.Junctions = {{1, 2, 2250, 2250}, {1, 3, 3250, 2500}};
    ShowCloseJunctions(main.workspace());
    for (const Junction& junction : state.Junctions) {
        QCOMPARE(main.mapWindow().image().pixelColor(Pixel(junction.x, junction.y)), kBlue);
        QCOMPARE(main.insetWindow().image().pixelColor(InsetPixel(state, junction.x, junction.y)),
                 kBlack);
    }
}

void CloseJunctionsTest::theTestIsPerAxisNotADistance() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    state.Junctions = {{1, 2, 2250, 600}, {1, 3, 2260, 5600}};
    ShowCloseJunctions(main.workspace());
    for (const Junction& junction : state.Junctions)
        QCOMPARE(main.mapWindow().image().pixelColor(Pixel(junction.x, junction.y)), kBlue);
}

void CloseJunctionsTest::identifyThresholdsDrawsUnfilledRingsOfTheThreshold() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    UsePlainPlan(main);
    ProjectState& state = main.state();
    state.Junctions = {{1, 2, 2250, 2250}, {1, 3, 6000, 4500}, {2, 3, 6090, 4500}};
    main.box(8).setText("300"); // 20 pixels

    ShowCloseJunctions(main.workspace());
    const QImage withoutRings = main.mapWindow().image();
    QCOMPARE(withoutRings.pixelColor(170, 150), kGreen);

    main.check(2).setChecked(true);
    ShowCloseJunctions(main.workspace());
    const QImage& map = main.mapWindow().image();
    QVERIFY(Near(map, {170, 150}, kBlue));
    QVERIFY(Near(map, {150, 130}, kBlue));
    QCOMPARE(map.pixelColor(162, 150), kGreen); // unfilled inside
    QCOMPARE(map.pixelColor(180, 150), kGreen);
    QVERIFY(Near(map, {400, 280}, kRed));
    QVERIFY(Near(map, {400, 320}, kRed));
    QCOMPARE(map.pixelColor(400, 290), kGreen);
}

void CloseJunctionsTest::thePlanAndTheLinesStayVisibleUnderTheMarks() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    UsePlainPlan(main);
    ProjectState& state = main.state();
    AddAxialLine(state, {450, 2700, 6750, 2700});
    AddAxialLine(state, {2700, 1350, 2700, 4050});
    state.Junctions = {{1, 2, 2700, 2700}};
    main.mapWindow().line(0, 0, 9000, 6750, kRed); // an earlier mark the refresh wipes
    main.insetWindow().line(0, 0, 3300, 2475, kRed);

    ShowCloseJunctions(main.workspace());

    const QImage& map = main.mapWindow().image();
    QCOMPARE(map.pixelColor(30, 30), kGreen);
    QCOMPARE(map.pixelColor(100, 100), kGreen);
    QVERIFY(Near(map, {300, 180}, kBlack));
    QVERIFY(Near(map, {180, 100}, kBlack));
    QCOMPARE(map.pixelColor(180, 180), kBlue);
    const QImage& inset = main.insetWindow().image();
    QVERIFY(Near(inset, InsetPixel(state, 4500, 2700), kWhite));
    QCOMPARE(inset.pixelColor(InsetPixel(state, 1500, 1500)), kBlack);
}

void CloseJunctionsTest::aThresholdThatIsNotANumberMakesEveryJunctionBlue() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    state.Junctions = {{1, 2, 2250, 2250}, {1, 3, 2250, 2250}};
    main.box(8).setText("near");
    main.check(2).setChecked(true);
    ShowCloseJunctions(main.workspace());
    QCOMPARE(main.mapWindow().image().pixelColor(150, 150), kBlue);
}

void CloseJunctionsTest::anEnormousThresholdMakesEveryJunctionRed() {
    // 10^30 is still a float; 10^60 is not, and rings of it cannot be drawn.
    for (const QString& threshold : {"1" + QString(30, '0'), QString(60, '9')}) {
        ScriptedDialogs dialogs;
        MainWindow main(dialogs);
        ProjectState& state = main.state();
        state.Junctions = {{1, 2, 750, 750}, {1, 3, 8250, 6000}};
        main.box(8).setText(threshold);
        main.check(2).setChecked(true);
        ShowCloseJunctions(main.workspace());
        QCOMPARE(main.mapWindow().image().pixelColor(50, 50), kRed);
        QCOMPARE(main.mapWindow().image().pixelColor(550, 400), kRed);
    }
}

void CloseJunctionsTest::theThresholdControlsAppearWithTheExplanation() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.show();
    ShowCloseJunctions(main.workspace());
    for (QWidget* widget :
         {static_cast<QWidget*>(&main.label(4)), static_cast<QWidget*>(&main.box(8)),
          static_cast<QWidget*>(&main.check(2)), static_cast<QWidget*>(&main.box(10)),
          static_cast<QWidget*>(&main.check(3))})
        QVERIFY2(widget->isVisible(), qPrintable(widget->objectName()));
    QCOMPARE(main.box(8).text(), QString("1000"));
    MessagePanel& panel = main.panel();
    QCOMPARE(panel.box(3).toPlainText(),
             QString("You Are Checking Axial Lines for Correct Junctions and If Not, Snapping."));
    QCOMPARE(panel.box(5).toPlainText(),
             QString("This stage lets you reposition the junctions if they are below a certain "
                     "distance from each other."));
    QCOMPARE(panel.box(6).toPlainText(),
             QString("It shows the junctions that should be snapped and asks to you do this. "));
    QCOMPARE(panel.box(7).toPlainText(),
             QString("This iterative procedure snaps junctions two at a time. If the lines "
                     "reposition wrongly then you must return to the check axial line stage and "
                     "redraw"));
}

QTEST_MAIN(CloseJunctionsTest)
#include "test_close_junctions.moc"

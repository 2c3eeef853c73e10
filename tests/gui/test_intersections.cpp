// "Compute Intersections": the junction table, the counter, the marks and the warnings.
#include "core/app/project_state.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "gui/geometry/intersections_operation.h"
#include "gui/host/twips.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);

// A triangle of lines: each pair crosses once.
void AddTriangle(ProjectState& state) {
    AddAxialLine(state, {750, 1500, 6750, 1500});
    AddAxialLine(state, {1500, 750, 4500, 6000});
    AddAxialLine(state, {6000, 750, 3000, 6000});
}

void VerifyWarning(const ScriptedDialogs& dialogs, const QString& text) {
    QCOMPARE(dialogs.calls().size(), std::size_t(1));
    const DialogCall& call = dialogs.calls().front();
    QCOMPARE(call.text, text);
    QCOMPARE(call.title, QString("Data Input Warning"));
    QCOMPARE(call.buttons, MessageButtons::Ok);
    QCOMPARE(call.icon, MessageIcon::Question);
}

} // namespace

class IntersectionsTest : public QObject {
    Q_OBJECT
private slots:
    void theButtonFindsEveryCrossingInLineOrder();
    void theCounterCountsUpWhileTheSearchRuns();
    void eachJunctionIsMarkedWithAWhiteOutlinedBlueDisc();
    void thePanelExplainsWhatIsShown();
    void theStepControlsOfBothResultsWindowsAreHidden();
    void oneLineWarnsAndSearchesNothing();
    void noLinesGiveNoJunctionsAndNoMessage();
    void exactlyOneJunctionAsksForMore();
    void theFiveHundredthCrossingWarnsButKeepsTheLines();
};

void IntersectionsTest::theButtonFindsEveryCrossingInLineOrder() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddTriangle(state);
    Click(main, "Command2");

    QCOMPARE(state.JunctionCount(), 3);
    const float pairs[3][2] = {{1, 2}, {1, 3}, {2, 3}};
    for (int index = 0; index < 3; ++index) {
        QCOMPARE(state.Junctions[index].firstLine, pairs[index][0]);
        QCOMPARE(state.Junctions[index].secondLine, pairs[index][1]);
    }
    QCOMPARE(state.Junctions[0].y, 1500.0f);
    QVERIFY(state.IntersectionsComputed);
    QCOMPARE(state.LineJunctionMatrix.rows(), std::size_t(3));
    QCOMPARE(state.LineJunctionMatrix.columns(), std::size_t(3));
    const std::int16_t expected[3][3] = {{1, 1, 0}, {1, 0, 1}, {0, 1, 1}};
    for (int line = 0; line < 3; ++line)
        for (int junction = 0; junction < 3; ++junction)
            QCOMPARE(state.LineJunctionMatrix(line, junction), expected[line][junction]);
    QVERIFY(dialogs.calls().empty());
    QCOMPARE(main.mapWindow().drawWidth(), 1);
}

void IntersectionsTest::theCounterCountsUpWhileTheSearchRuns() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    AddTriangle(main.state());
    main.box(2).setText("7");
    QStringList shown;
    QObject::connect(&main.box(2), &QLineEdit::textChanged,
                     [&shown](const QString& text) { shown << text; });
    ComputeIntersections(main.workspace());
    QCOMPARE(shown, QStringList({"1", "2", "3"}));
    QCOMPARE(main.box(2).text(), QString("3"));

    // A second run starts again from an empty table.
    shown.clear();
    ComputeIntersections(main.workspace());
    QCOMPARE(shown, QStringList({"1", "2", "3"}));
    QCOMPARE(main.state().JunctionCount(), 3);
}

void IntersectionsTest::eachJunctionIsMarkedWithAWhiteOutlinedBlueDisc() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    PictureSurface& map = main.mapWindow();
    map.setBackColor(kGrey);
    map.clear();
    map.setDrawWidth(4);
    // Diagonals of the square (1500, 1500) .. (4500, 4500): they cross at pixel (200, 200).
    AddAxialLine(main.state(), {1500, 1500, 4500, 4500});
    AddAxialLine(main.state(), {1500, 4500, 4500, 1500});
    AddAxialLine(main.state(), {7500, 750, 7500, 6000});
    AddAxialLine(main.state(), {6750, 3000, 8250, 3000});
    ComputeIntersections(main.workspace());

    const QImage& image = map.image();
    for (const QPoint centre : {QPoint(200, 200), QPoint(500, 200)}) {
        QCOMPARE(image.pixelColor(centre), kBlue);
        // Radius 100 units is 6.7 pixels: blue inside, a white ring, the background outside.
        int x = centre.x();
        while (image.pixelColor(x, centre.y()) == kBlue)
            ++x;
        QCOMPARE(image.pixelColor(x, centre.y()), kWhite);
        QVERIFY(x - centre.x() >= 5 && x - centre.x() <= 8);
        QCOMPARE(image.pixelColor(centre.x() + 10, centre.y()), kGrey);
        QCOMPARE(image.pixelColor(centre.x(), centre.y() - 10), kGrey);
    }
    QCOMPARE(map.fillStyle(), FillStyle::Solid);
    QCOMPARE(map.fillColor(), kBlue);
    QCOMPARE(map.drawWidth(), 1);
    // Nothing is marked on the inset.
    const QImage& inset = main.insetWindow().image();
    for (int y = 0; y < inset.height(); ++y)
        for (int x = 0; x < inset.width(); ++x)
            QCOMPARE(inset.pixelColor(x, y), QColor(Qt::black));
}

void IntersectionsTest::thePanelExplainsWhatIsShown() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ComputeIntersections(main.workspace());
    MessagePanel& panel = main.panel();
    QCOMPARE(panel.box(3).toPlainText(),
             QString("In this Window, We Show the Intersections of Each Axial Lines with Every "
                     "Other."));
    QCOMPARE(panel.box(3).font().pointSize(), 12);
    QCOMPARE(panel.box(5).toPlainText(),
             QString("Street intersections occur where axial lines cross. The biggest problem "
                     "is where you get more than two lines intersecting"));
    QCOMPARE(panel.box(6).toPlainText(),
             QString("In such a case you need to be careful and if necessary, redraw"));
    QCOMPARE(panel.box(7).toPlainText(), QString());
    for (int number : {5, 6, 7})
        QCOMPARE(panel.box(number).font().pointSize(), 10);
}

void IntersectionsTest::theStepControlsOfBothResultsWindowsAreHidden() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    Workspace& workspace = main.workspace();
    for (ResultsWindow* window : {&workspace.axialResults, &workspace.junctionResults}) {
        window->layOutRadiusGroup();
        window->layOutSpanGroup();
    }
    AddTriangle(main.state());
    ComputeIntersections(workspace);
    for (ResultsWindow* window : {&workspace.axialResults, &workspace.junctionResults}) {
        for (int number : {1, 2, 4, 5})
            QVERIFY(window->command(number).isHidden());
        for (int number = 1; number <= 4; ++number)
            QVERIFY(window->box(number).isHidden());
        QVERIFY(!window->isVisible());
    }
}

void IntersectionsTest::oneLineWarnsAndSearchesNothing() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    AddAxialLine(main.state(), {750, 1500, 6750, 1500});
    ComputeIntersections(main.workspace());
    VerifyWarning(dialogs, "Only one axial line - enter more");
    QCOMPARE(main.state().JunctionCount(), 0);
    QVERIFY(!main.state().IntersectionsComputed);
    QCOMPARE(main.box(2).text(), QString());
}

void IntersectionsTest::noLinesGiveNoJunctionsAndNoMessage() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ComputeIntersections(main.workspace());
    QVERIFY(dialogs.calls().empty());
    QCOMPARE(main.state().JunctionCount(), 0);
    QVERIFY(main.state().IntersectionsComputed);
    QCOMPARE(main.box(2).text(), QString("0"));
}

void IntersectionsTest::exactlyOneJunctionAsksForMore() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    // An L: the lines meet at their ends.
    AddAxialLine(main.state(), {1500, 1500, 4500, 1500});
    AddAxialLine(main.state(), {4500, 1500, 4500, 4500});
    ComputeIntersections(main.workspace());
    VerifyWarning(dialogs, "Only one junction - ideally enter more");
    QCOMPARE(main.state().JunctionCount(), 1);
    QCOMPARE(main.state().Junctions[0], (Junction{1, 2, 4500, 1500}));
    QVERIFY(main.state().IntersectionsComputed);
    QCOMPARE(main.box(2).text(), QString("1"));
}

void IntersectionsTest::theFiveHundredthCrossingWarnsButKeepsTheLines() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    const auto addRow = [&state](int row) {
        AddAxialLine(state, {150, 200.0f + 250 * row, 8850, 200.0f + 250 * row});
    };
    const auto hasBlue = [&main] {
        const QImage image = main.mapWindow().image();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == QColor(0, 0, 255))
                    return true;
        return false;
    };
    // 22 rows by 22 columns cross 484 times; a 23rd row makes 506.
    for (int row = 0; row < 22; ++row)
        addRow(row);
    for (int column = 0; column < 22; ++column)
        AddAxialLine(state, {300.0f + 390 * column, 100, 300.0f + 390 * column, 6650});
    ComputeIntersections(main.workspace());
    QCOMPARE(state.JunctionCount(), 484);
    QVERIFY(hasBlue());

    addRow(22);
    const std::vector<AxialLine> lines = state.AxialLines;
    ComputeIntersections(main.workspace());
    VerifyWarning(dialogs, "More Than 500 Junctions Lines - Unfortunately You Must Start Again");
    QCOMPARE(state.AxialLines, lines);
    QCOMPARE(state.JunctionCount(), 0);
    QVERIFY(state.LineJunctionMatrix.empty());
    QVERIFY(!state.IntersectionsComputed);
    QCOMPARE(main.box(2).text(), QString("0"));
    // No marks of the junctions of the earlier run, and the lines still drawn.
    QVERIFY(!hasBlue());
    QCOMPARE(main.mapWindow().image().pixelColor(TwipsToPixels(1000), TwipsToPixels(200)),
             QColor(Qt::black));
}

QTEST_MAIN(IntersectionsTest)
#include "test_intersections.moc"

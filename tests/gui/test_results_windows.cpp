// The results windows' surface view and About texts.
#include "gui/app/main_window.h"
#include "gui/app/text_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "support/analysis_results.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

#include <set>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QColor kBlack(0, 0, 0);
const QString kBookReference =
    "For a detailed description of these measures, consult the book The Social Logic of Space.";

// Cell (column, row), 1-based, spans 120 * n + 100 .. + 120 units: about 8 px from 14.7 px on.
QPoint InsideCell(int column, int row) {
    return {18 + 8 * (column - 1), 18 + 8 * (row - 1)};
}

std::vector<QColor> CellColours(const PictureSurface& surface) {
    std::vector<QColor> colours;
    for (int column = 1; column <= 50; ++column)
        for (int row = 1; row <= 50; ++row)
            colours.push_back(surface.image().pixelColor(InsideCell(column, row)));
    return colours;
}

bool GroupsHidden(const ResultsWindow& window) {
    for (int number : {1, 2, 4, 5})
        if (!window.command(number).isHidden())
            return false;
    return window.label(1).isHidden() && window.label(2).isHidden();
}

} // namespace

class ResultsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theSurfaceViewIsAFramedGridOfRandomColours();
    void eachSurfaceViewDrawsNewColoursInTheSameGrid();
    void theSurfaceViewLeavesTheMainMapWindowAlone();
    void theSurfaceViewHidesTheSteppingGroupsInBothWindows();
    void theHiddenSurfaceButtonDrawsOnTheAxialWindow();
    void theAxialWindowsAboutTextsSpeakOfLines();
    void theJunctionWindowsAboutTextsSpeakOfJunctions();
    void windowsOpenClearOfTheMenusAndButtonsAndStayWhereMoved();
};

void ResultsWindowTest::theSurfaceViewIsAFramedGridOfRandomColours() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ResultsWindow& results = main.workspace().axialResults;
    results.surface().line(0, 0, 200, 200, Qt::yellow);

    Trigger(results, "mnuSurface");

    // No analysis is needed.
    QVERIFY(dialogs.calls().empty());
    const PictureSurface& surface = results.surface();
    const std::vector<QColor> colours = CellColours(surface);
    const std::set<QRgb> distinct = [&colours] {
        std::set<QRgb> rgbs;
        for (const QColor& colour : colours)
            rgbs.insert(colour.rgb());
        return rgbs;
    }();
    QVERIFY2(distinct.size() > 2000, qPrintable(QString::number(distinct.size())));
    // Each cell is one colour, outlined in black like the frame.
    QCOMPARE(surface.image().pixelColor(InsideCell(7, 9) + QPoint(2, 2)),
             surface.image().pixelColor(InsideCell(7, 9)));
    QCOMPARE(surface.image().pixelColor({22, 100}), kBlack);
    QCOMPARE(surface.image().pixelColor({100, 22}), kBlack);
    // The frame runs round 220 .. 6220 units (14.7 .. 414.7 px); outside it nothing is drawn.
    for (QPoint outside : {QPoint(5, 5), QPoint(12, 200), QPoint(200, 12), QPoint(418, 200),
                           QPoint(200, 418), QPoint(430, 430)})
        QCOMPARE(surface.image().pixelColor(outside), kBlack);
    for (int along : {16, 200, 413}) {
        QVERIFY(surface.image().pixelColor({along, 14}) == kBlack ||
                surface.image().pixelColor({along, 15}) == kBlack);
        QVERIFY(surface.image().pixelColor({414, along}) == kBlack ||
                surface.image().pixelColor({415, along}) == kBlack);
    }
}

void ResultsWindowTest::eachSurfaceViewDrawsNewColoursInTheSameGrid() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ResultsWindow& results = main.workspace().junctionResults;
    Trigger(results, "mnuSurface");
    const std::vector<QColor> first = CellColours(results.surface());
    const QImage firstImage = results.surface().image();

    Trigger(results, "mnuSurface");

    const std::vector<QColor> second = CellColours(results.surface());
    int changed = 0;
    for (std::size_t cell = 0; cell < first.size(); ++cell)
        changed += first[cell] != second[cell];
    QVERIFY2(changed > 2000, qPrintable(QString::number(changed)));
    // The same pixels are black (outlines, frame and the margin round them) both times.
    const QImage secondImage = results.surface().image();
    for (int y = 0; y < 430; ++y)
        for (int x = 0; x < 430; ++x)
            QCOMPARE(firstImage.pixelColor(x, y) == kBlack, secondImage.pixelColor(x, y) == kBlack);
}

void ResultsWindowTest::theSurfaceViewLeavesTheMainMapWindowAlone() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.mapWindow().line(0, 0, 3000, 3000, Qt::blue);
    main.mapWindow().setDrawWidth(4);
    const QImage before = main.mapWindow().image();

    Trigger(main.workspace().axialResults, "mnuSurface");

    QCOMPARE(main.mapWindow().image(), before);
    QCOMPARE(main.mapWindow().drawWidth(), 4);
}

void ResultsWindowTest::theSurfaceViewHidesTheSteppingGroupsInBothWindows() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    for (ResultsWindow* results :
         {&main.workspace().axialResults, &main.workspace().junctionResults}) {
        results->show();
        results->layOutRadiusGroup();
        results->layOutSpanGroup();
        QVERIFY(!GroupsHidden(*results));

        Trigger(*results, "mnuSurface");

        QVERIFY(GroupsHidden(*results));
    }
}

void ResultsWindowTest::theHiddenSurfaceButtonDrawsOnTheAxialWindow() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);

    Click(main, "Command10");

    QVERIFY(main.workspace().axialResults.surface().image().pixelColor(InsideCell(1, 1)) !=
                kBlack ||
            main.workspace().axialResults.surface().image().pixelColor(InsideCell(2, 1)) != kBlack);
    QCOMPARE(main.workspace().junctionResults.surface().image().pixelColor(InsideCell(1, 1)),
             kBlack);
}

void ResultsWindowTest::theAxialWindowsAboutTextsSpeakOfLines() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetAnalysedMap(main.state(), {{1500, 1500, 4500, 1500}, {3900, 1000, 3900, 5000}},
                   {{1, 2, 3900, 1500}});
    SetAnalysisResults(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    TextWindow& text = main.workspace().textWindow;
    results.show();
    Trigger(results, "mnuZoomMap");
    dialogs.clear();

    Trigger(results, "mnuInt");

    QVERIFY(text.isVisible());
    QCOMPARE(text.windowTitle(), QString("About the Integration Maps"));
    QVERIFY(text.box(1).toPlainText().startsWith(
        "Integration maps measure the accessibility or proximity from one line to another"));
    QCOMPARE(text.box(2).toPlainText(),
             QString("The maximum radii of the graph is in fact the maximum distance between lines "
                     "in the map and when averaged, this is the same as the total integration "
                     "map."));
    QVERIFY(text.box(3).toPlainText().startsWith("The depth map enables you to specify a line"));
    QCOMPARE(text.box(4).toPlainText(), kBookReference);
    // The map on show and its radius group stay.
    QVERIFY(results.label(1).isVisible());

    Trigger(results, "mnuGr");

    QCOMPARE(text.windowTitle(), QString("About the Integration Graph"));
    QVERIFY(text.box(1).toPlainText().startsWith(
        "The integration graph is the topological graph of relations between lines."));
    QVERIFY(text.box(3).toPlainText().endsWith("without recourse to the axial map space"));
    QCOMPARE(text.box(4).toPlainText(), kBookReference);
    for (int number = 1; number <= 4; ++number)
        QVERIFY(text.box(number).isVisible());
}

void ResultsWindowTest::theJunctionWindowsAboutTextsSpeakOfJunctions() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ResultsWindow& results = main.workspace().junctionResults;
    TextWindow& text = main.workspace().textWindow;

    Trigger(results, "mnuInt");

    QCOMPARE(text.windowTitle(), QString("About the Integration Maps"));
    QVERIFY(text.box(1).toPlainText().startsWith(
        "Integration maps measure the accessibility or proximity from one junction to another"));
    QVERIFY(text.box(3).toPlainText().contains("then all junction of depth 2 take on"));
    QCOMPARE(text.box(4).toPlainText(), kBookReference);

    Trigger(results, "mnuGr");

    QCOMPARE(text.windowTitle(), QString("About the Integration Graph"));
    QCOMPARE(text.box(2).toPlainText(),
             QString("This basic graph of relations between the junctions looks like the basic "
                     "axial map because relations between junctions on the map are lines."));
    QVERIFY(text.box(3).toPlainText().endsWith("which is the quintessential insight."));
    QVERIFY(dialogs.calls().empty());
}

void ResultsWindowTest::windowsOpenClearOfTheMenusAndButtonsAndStayWhereMoved() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.resize(1024, 768);
    main.show();
    const QPoint clear = main.findChild<QScrollArea*>("mapArea")->mapToGlobal(QPoint(0, 0));
    ResultsWindow& axial = main.workspace().axialResults;
    ResultsWindow& junction = main.workspace().junctionResults;
    axial.show();
    junction.show();
    for (const QWidget* window :
         {static_cast<QWidget*>(&axial), static_cast<QWidget*>(&junction)}) {
        QVERIFY(window->x() >= clear.x());
        QVERIFY(window->y() >= clear.y());
    }
    QVERIFY(junction.pos() != axial.pos());

    axial.move(clear + QPoint(90, 70));
    axial.hide();
    axial.show();
    QCOMPARE(axial.pos(), clear + QPoint(90, 70));
}

QTEST_MAIN(ResultsWindowTest)
#include "test_results_windows.moc"

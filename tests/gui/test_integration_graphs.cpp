// Integration graphs from the results windows: arcs and nodes drawn, the warning for large maps,
// the refusals, and the span buttons.
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "support/analysed_maps.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

// Mid-points (100, 200), (200, 120) and (300, 200) px: a triangle whose base, the arc (1, 3),
// is deeper than its sides. Line 4, at (100, 400) px, crosses nothing.
void SetChainAsTriangle(ProjectState& state) {
    SetAnalysedMap(state,
                   {{1500, 1500, 1500, 4500},
                    {1000, 1800, 5000, 1800},
                    {4500, 1500, 4500, 4500},
                    {1000, 6000, 2000, 6000}},
                   {{1, 2, 1500, 1800}, {2, 3, 4500, 1800}});
}

// Mid-points (100, 200), (200, 200) and (300, 200) px: the arc (1, 3) lies under the other two.
void SetChainInARow(ProjectState& state) {
    SetAnalysedMap(state,
                   {{1500, 1500, 1500, 4500}, {1000, 2000, 5000, 4000}, {4500, 1500, 4500, 4500}},
                   {{1, 2, 1500, 2250}, {2, 3, 4500, 3750}});
}

// Junctions at (260, 100), (260, 300) and (400, 300) px, the first two on line 2 and the last two
// on line 3; a fourth at (100, 400) px on two lines of their own.
void SetJunctionChain(ProjectState& state) {
    SetAnalysedMap(
        state,
        {{1500, 1500, 4500, 1500},
         {3900, 1000, 3900, 5000},
         {2700, 4500, 6900, 4500},
         {6000, 4000, 6000, 6500},
         {1000, 6000, 2000, 6000},
         {1500, 5500, 1500, 7000}},
        {{1, 2, 3900, 1500}, {2, 3, 3900, 4500}, {3, 4, 6000, 4500}, {5, 6, 1500, 6000}});
    state.GraphSpan = LargestDepth(state.JunctionDepth);
}

// `count` lines in a row, each crossing the next.
void SetLinesInARow(ProjectState& state, int count) {
    state = ProjectState();
    for (int i = 0; i < count; ++i) {
        const auto x = static_cast<float>(100 + 120 * i);
        state.AxialLines.push_back({x, 1000, x + 200, 2000});
        if (i > 0)
            state.Junctions.push_back(
                {static_cast<float>(i), static_cast<float>(i + 1), x + 50, 1100});
    }
    state.LineDepth = LineDepthsOf(state);
    state.GraphSpan = LargestDepth(state.LineDepth);
}

QColor PixelOf(const PictureSurface& surface, int x, int y) {
    return surface.image().pixelColor(x, y);
}

int PixelsOf(const PictureSurface& surface, QRect area, const QColor& colour) {
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            found += surface.image().pixelColor(x, y) == colour;
    return found;
}

// A node: filled black, ringed white.
bool IsNodeAt(const PictureSurface& surface, int x, int y) {
    return PixelOf(surface, x, y) == kBlack &&
           PixelsOf(surface, QRect(x - 8, y - 8, 17, 17), kWhite) > 20;
}

} // namespace

class IntegrationGraphTest : public QObject {
    Q_OBJECT
private slots:
    void theDeepArcIsBlueAndTheShallowArcsRed();
    void shallowArcsAreDrawnOverDeepOnes();
    void theJunctionGraphJoinsJunctionsAndShowsEveryJunction();
    void theWarningAndProgressBarComeAboveFiftyItems_data();
    void theWarningAndProgressBarComeAboveFiftyItems();
    void aGraphBeforeTheAnalysisSaysWhichAnalysisToRun();
    void theSpanButtonsStopAtOneAndAtTheItemCount();
    void theJunctionSpanStepsWithItsOwnButtons();
};

void IntegrationGraphTest::theDeepArcIsBlueAndTheShallowArcsRed() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainAsTriangle(main.state());
    main.mapWindow().setDrawWidth(6);
    ResultsWindow& results = main.workspace().axialResults;

    Trigger(results, "mnuAxial");

    QVERIFY(dialogs.calls().empty());
    const std::vector<GraphArc> arcs{{1, 3, 0, 2}, {1, 2, 1, 1}, {2, 3, 1, 1}};
    QCOMPARE(main.state().LineArcList, arcs);
    const PictureSurface& surface = results.surface();
    QCOMPARE(PixelOf(surface, 200, 200), kBlue);
    QCOMPARE(PixelsOf(surface, QRect(149, 159, 3, 3), kRed) > 0, true);
    QCOMPARE(PixelsOf(surface, QRect(249, 159, 3, 3), kRed) > 0, true);
    for (QPoint node : {QPoint(100, 200), QPoint(200, 120), QPoint(300, 200)})
        QVERIFY2(IsNodeAt(surface, node.x(), node.y()), qPrintable(QString::number(node.x())));
    // A line with no arc has no node.
    QCOMPARE(PixelsOf(surface, QRect(90, 390, 21, 21), kBlack), 21 * 21);
    QCOMPARE(main.mapWindow().drawWidth(), 1);
}

void IntegrationGraphTest::shallowArcsAreDrawnOverDeepOnes() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainInARow(main.state());

    Click(main, "Command23");

    const PictureSurface& surface = main.workspace().axialResults.surface();
    QCOMPARE(PixelOf(surface, 150, 200), kRed);
    QCOMPARE(PixelOf(surface, 250, 200), kRed);
    QCOMPARE(PixelsOf(surface, surface.image().rect(), kBlue), 0);
}

void IntegrationGraphTest::theJunctionGraphJoinsJunctionsAndShowsEveryJunction() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetJunctionChain(main.state());
    ResultsWindow& results = main.workspace().junctionResults;

    Trigger(results, "mnuJunction");

    QVERIFY(dialogs.calls().empty());
    QCOMPARE(main.state().JunctionArcCount(), 3);
    QVERIFY(main.state().LineArcList.empty());
    const PictureSurface& surface = results.surface();
    QCOMPARE(PixelOf(surface, 260, 200), kRed);
    QCOMPARE(PixelOf(surface, 330, 300), kRed);
    QCOMPARE(PixelsOf(surface, QRect(329, 199, 3, 3), kBlue) > 0, true);
    for (QPoint node : {QPoint(260, 100), QPoint(260, 300), QPoint(400, 300), QPoint(100, 400)})
        QVERIFY2(IsNodeAt(surface, node.x(), node.y()), qPrintable(QString::number(node.x())));
    QCOMPARE(results.box(3).text(), QString(" 2"));
    QVERIFY(!results.label(2).isHidden());
}

void IntegrationGraphTest::theWarningAndProgressBarComeAboveFiftyItems_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("warned");
    QTest::newRow("50 lines") << 50 << false;
    QTest::newRow("51 lines") << 51 << true;
}

void IntegrationGraphTest::theWarningAndProgressBarComeAboveFiftyItems() {
    QFETCH(int, lines);
    QFETCH(bool, warned);
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetLinesInARow(main.state(), lines);
    QProgressBar& bar = main.workspace().axialResults.progressBar();
    bool barShown = false;
    QObject::connect(&bar, &QProgressBar::valueChanged,
                     [&] { barShown = barShown || !bar.isHidden(); });

    Trigger(main.workspace().axialResults, "mnuAxial");

    QCOMPARE(dialogs.calls().size(), std::size_t(warned ? 1 : 0));
    if (warned) {
        const DialogCall& warning = dialogs.calls().front();
        QCOMPARE(warning.text,
                 QString("With this many lines, the Graph will be pretty impressionistic"));
        QCOMPARE(warning.title, QString("There are over 50 Axial Lines"));
        QCOMPARE(warning.buttons, MessageButtons::Ok);
        QCOMPARE(warning.icon, MessageIcon::Question);
        QCOMPARE(bar.maximum(), lines + 1);
    }
    QCOMPARE(barShown, warned);
    QVERIFY(bar.isHidden());
    QCOMPARE(main.state().LineArcCount(), lines * (lines - 1) / 2);
}

void IntegrationGraphTest::aGraphBeforeTheAnalysisSaysWhichAnalysisToRun() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetJunctionChain(main.state());
    main.state().LineDepth = {};
    main.state().JunctionDepth = Matrix<std::int16_t>(3, 3);

    Trigger(main.workspace().axialResults, "mnuAxial");
    Trigger(main.workspace().junctionResults, "mnuJunction");

    QCOMPARE(dialogs.calls().size(), std::size_t(2));
    QVERIFY(dialogs.calls()[0].text.startsWith("Run the Axial Line Analysis first"));
    QVERIFY(dialogs.calls()[1].text.startsWith("Run the Junction Analysis first"));
    for (ResultsWindow* results :
         {&main.workspace().axialResults, &main.workspace().junctionResults}) {
        QVERIFY(results->command(4).isHidden());
        QVERIFY(results->box(3).isHidden());
    }
    QVERIFY(main.state().LineArcList.empty());
    QVERIFY(main.state().JunctionArcList.empty());
}

void IntegrationGraphTest::theSpanButtonsStopAtOneAndAtTheItemCount() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainAsTriangle(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    const PictureSurface& surface = results.surface();

    Trigger(results, "mnuAxial");
    QCOMPARE(results.box(3).text(), QString(" 2"));
    QCOMPARE(results.label(2).text(), QString("Span"));
    QVERIFY(!results.command(4).isHidden());
    QVERIFY(!results.command(5).isHidden());

    Click(results, "Command5");
    QCOMPARE(results.box(4).text(), QString("-1"));
    QCOMPARE(main.state().GraphSpan, 1);
    QCOMPARE(results.box(3).text(), QString(" 1"));
    QVERIFY(results.command(5).isHidden());
    QVERIFY(!results.command(4).isHidden());
    QCOMPARE(PixelOf(surface, 200, 200), kBlack);
    QCOMPARE(PixelsOf(surface, QRect(149, 159, 3, 3), kRed) > 0, true);
    QVERIFY(IsNodeAt(surface, 300, 200));

    Click(results, "Command4");
    QCOMPARE(results.box(4).text(), QString("1"));
    QCOMPARE(main.state().GraphSpan, 2);
    QCOMPARE(PixelOf(surface, 200, 200), kBlue);
    QVERIFY(!results.command(4).isHidden());
    QVERIFY(!results.command(5).isHidden());

    // Four lines: the span reaches the item count.
    Click(results, "Command4");
    Click(results, "Command4");
    QCOMPARE(main.state().GraphSpan, 4);
    QCOMPARE(results.box(3).text(), QString(" 4"));
    QVERIFY(results.command(4).isHidden());
    QVERIFY(!results.command(5).isHidden());
    QCOMPARE(PixelOf(surface, 200, 200), kBlue);
    QVERIFY(dialogs.calls().empty());

    // The full graph again: the span is the largest depth once more.
    Trigger(results, "mnuAxial");
    QCOMPARE(main.state().GraphSpan, 2);
    QCOMPARE(results.box(3).text(), QString(" 2"));
    QVERIFY(!results.command(4).isHidden());
    QVERIFY(!results.command(5).isHidden());
}

void IntegrationGraphTest::theJunctionSpanStepsWithItsOwnButtons() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetJunctionChain(main.state());
    ResultsWindow& results = main.workspace().junctionResults;
    Trigger(results, "mnuJunction");

    Click(results, "Command5");
    QCOMPARE(main.state().GraphSpan, 1);
    QCOMPARE(results.box(3).text(), QString(" 1"));
    QCOMPARE(PixelsOf(results.surface(), results.surface().image().rect(), kBlue), 0);
    QVERIFY(IsNodeAt(results.surface(), 100, 400));
    QVERIFY(results.command(5).isHidden());

    Click(results, "Command4");
    Click(results, "Command4");
    Click(results, "Command4");
    QCOMPARE(main.state().GraphSpan, 4);
    QVERIFY(results.command(4).isHidden());
    // The axial window's span group stays as it was.
    QVERIFY(main.workspace().axialResults.command(4).isHidden());
}

QTEST_MAIN(IntegrationGraphTest)
#include "test_integration_graphs.moc"

// Syntax colour maps and radius maps in the results windows: the colours and discs drawn, the
// radius group and its buttons, and the refusals before an analysis.
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "support/analysis_results.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QColor kRed(255, 0, 0);
const QColor kYellowGreen(170, 255, 0);
const QColor kGreen(0, 255, 0);
const QColor kSeaGreen(0, 255, 85);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

constexpr float kPx = 15;

// A chain of five lines zig-zagging down to the right; junctions at (100, 60), (100, 140),
// (200, 140) and (200, 240) px, where line k meets line k + 1.
void SetChainOfFive(ProjectState& state) {
    SetAnalysedMap(state,
                   {{20 * kPx, 60 * kPx, 120 * kPx, 60 * kPx},
                    {100 * kPx, 40 * kPx, 100 * kPx, 160 * kPx},
                    {80 * kPx, 140 * kPx, 220 * kPx, 140 * kPx},
                    {200 * kPx, 120 * kPx, 200 * kPx, 260 * kPx},
                    {180 * kPx, 240 * kPx, 320 * kPx, 240 * kPx}},
                   {{1, 2, 100 * kPx, 60 * kPx},
                    {2, 3, 100 * kPx, 140 * kPx},
                    {3, 4, 200 * kPx, 140 * kPx},
                    {4, 5, 200 * kPx, 240 * kPx}});
    SetAnalysisResults(state);
}

// A point on each line of the chain of five, away from the junctions.
const QPoint kOnChainLine[] = {{}, {50, 60}, {100, 100}, {150, 140}, {200, 190}, {280, 240}};

// Lines 1 .. 3 in a chain (junctions at (260, 100) and (260, 300) px) and line 4 along y = 400 px
// touching nothing.
void SetChainOfThreeAndALoneLine(ProjectState& state) {
    SetAnalysedMap(state,
                   {{1500, 1500, 4500, 1500},
                    {3900, 1000, 3900, 5000},
                    {2700, 4500, 6900, 4500},
                    {1500, 6000, 4500, 6000}},
                   {{1, 2, 3900, 1500}, {2, 3, 3900, 4500}});
    SetAnalysisResults(state);
}

const QPoint kOnChainOfThreeLine[] = {{}, {150, 100}, {260, 200}, {400, 300}, {200, 400}};

// Three lines crossing each other in pairs: every line is one step from both others.
void SetTriangle(ProjectState& state) {
    SetAnalysedMap(
        state,
        {{50 * kPx, 100 * kPx, 350 * kPx, 100 * kPx},
         {100 * kPx, 50 * kPx, 300 * kPx, 300 * kPx},
         {300 * kPx, 50 * kPx, 100 * kPx, 300 * kPx}},
        {{1, 2, 140 * kPx, 100 * kPx}, {1, 3, 260 * kPx, 100 * kPx}, {2, 3, 200 * kPx, 175 * kPx}});
    SetAnalysisResults(state);
}

QColor PixelOf(const PictureSurface& surface, QPoint at) {
    return surface.image().pixelColor(at);
}

// Pixels from `centre` rightwards to the first one that is not `fill`; that pixel's colour too.
std::pair<int, QColor> RimRightOf(const PictureSurface& surface, QPoint centre,
                                  const QColor& fill) {
    int step = 0;
    while (PixelOf(surface, centre + QPoint(step, 0)) == fill)
        ++step;
    return {step, PixelOf(surface, centre + QPoint(step, 0))};
}

bool RadiusGroupHidden(const ResultsWindow& window) {
    return window.command(1).isHidden() && window.command(2).isHidden() &&
           window.label(1).isHidden() && window.box(1).isHidden();
}

} // namespace

class ColourMapTest : public QObject {
    Q_OBJECT
private slots:
    void theAxialSyntaxMapColoursLinesByIntegrationWithTheHighestOnTop();
    void theJunctionSyntaxMapPutsDiscsSizedByIntegrationOverTheWhiteLines();
    void beforeTheAnalysisEveryMapItemSaysWhichAnalysisToRunFirst();
    void integrationValuesOfOtherLinesAreRefused();
    void theRadius3MapCountsOnlyLinesWithinThreeSteps();
    void theJunctionRadius3MapDrawsDiscsOverTheWhiteLines();
    void zoomingDrawsTheCurrentRadiusFirstAndShowsTheRadiusGroup();
    void theRadiusButtonsDisappearAtOneAndAtTheItemCount();
    void atRadiusOneLinesWithANeighbourAreRedAndALoneLineBlue();
    void atRadiusTwoOnlyTheLinesNextToTheMiddleOfAChainOfFiveAreRed();
    void whenEveryLineReachesEveryOtherEveryLineIsRed();
    void pressingUpOnceThenZoomingAgainRaisesTheRadiusByTwo();
    void zoomingWithTheDownStepBelowOneDrawsEverythingRed();
    void theSyntaxMapAfterARadiusMapHidesTheRadiusGroup();
    void bothWindowsStepTheSameRadius();
    void theJunctionRadiusButtonsStepTheJunctionMap();
    void theHiddenMainButtonsDrawTheMapsTheMenusDraw();
};

void ColourMapTest::theAxialSyntaxMapColoursLinesByIntegrationWithTheHighestOnTop() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    results.surface().line(6000, 6000, 6600, 6600, Qt::yellow);
    main.mapWindow().setDrawWidth(5);

    Trigger(results, "mnuSyntax");

    QVERIFY(dialogs.calls().empty());
    const PictureSurface& surface = results.surface();
    // 1 / total depth: 1/10, 1/7, 1/6, 1/7, 1/10, rescaled to 0, 0.64, 1, 0.64, 0.
    QCOMPARE(PixelOf(surface, kOnChainLine[1]), kBlue);
    QCOMPARE(PixelOf(surface, kOnChainLine[2]), kYellowGreen);
    QCOMPARE(PixelOf(surface, kOnChainLine[3]), kRed);
    QCOMPARE(PixelOf(surface, kOnChainLine[4]), kYellowGreen);
    QCOMPARE(PixelOf(surface, kOnChainLine[5]), kBlue);
    // Where two lines meet, the higher value lies on top.
    QCOMPARE(PixelOf(surface, {100, 60}), kYellowGreen);
    QCOMPARE(PixelOf(surface, {100, 140}), kRed);
    // Three pixels wide.
    QCOMPARE(PixelOf(surface, {150, 141}), kRed);
    QCOMPARE(PixelOf(surface, {150, 139}), kRed);
    QCOMPARE(PixelOf(surface, {150, 143}), kBlack);
    // The surface was cleared first.
    QCOMPARE(PixelOf(surface, {420, 420}), kBlack);
    QCOMPARE(main.mapWindow().drawWidth(), 1);
}

void ColourMapTest::theJunctionSyntaxMapPutsDiscsSizedByIntegrationOverTheWhiteLines() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& results = main.workspace().junctionResults;
    main.mapWindow().setDrawWidth(5);

    Trigger(results, "mnuSyntax");

    QVERIFY(dialogs.calls().empty());
    const PictureSurface& surface = results.surface();
    // Junctions 2 and 3 are central (value 1), 1 and 4 at the ends (value 0).
    const QPoint junction1(100, 60), junction2(100, 140), junction4(200, 240);
    QCOMPARE(PixelOf(surface, junction2), kRed);
    QCOMPARE(PixelOf(surface, junction2 + QPoint(8, -8)), kRed);
    QCOMPARE(PixelOf(surface, junction1), kBlue);
    QCOMPARE(PixelOf(surface, junction4), kBlue);
    // A black rim at sqrt(60000) units (16.3 px) for value 1 and 100 units (6.7 px) for 0, and
    // the white line beyond it.
    const auto [bigRim, bigRimColour] = RimRightOf(surface, junction2, kRed);
    QCOMPARE(bigRimColour, kBlack);
    QVERIFY2(bigRim >= 15 && bigRim <= 17, qPrintable(QString::number(bigRim)));
    QCOMPARE(PixelOf(surface, junction2 + QPoint(bigRim + 2, 0)), kWhite);
    const auto [smallRim, smallRimColour] = RimRightOf(surface, junction1, kBlue);
    QCOMPARE(smallRimColour, kBlack);
    QVERIFY2(smallRim >= 6 && smallRim <= 8, qPrintable(QString::number(smallRim)));
    // The axial map underneath: white lines one pixel wide.
    QCOMPARE(PixelOf(surface, {100, 100}), kWhite);
    QCOMPARE(PixelOf(surface, {101, 100}), kBlack);
    QCOMPARE(main.mapWindow().drawWidth(), 1);
}

void ColourMapTest::beforeTheAnalysisEveryMapItemSaysWhichAnalysisToRunFirst() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.state().AxialLines = {
        {1500, 1500, 4500, 1500}, {3900, 1000, 3900, 5000}, {1500, 3000, 4500, 3000}};
    main.state().Junctions = {{1, 2, 3900, 1500}, {2, 3, 3900, 3000}};
    main.state().RadiusN = 2;
    ResultsWindow& axial = main.workspace().axialResults;
    ResultsWindow& junction = main.workspace().junctionResults;
    axial.surface().line(0, 0, 3000, 3000, Qt::yellow);
    const QImage before = axial.surface().image();

    for (const char* item : {"mnuSyntax", "mnuRadius3", "mnuZoomMap"})
        Trigger(axial, item);
    for (const char* item : {"mnuSyntax", "mnuRadius3", "mnuZoomRadii"})
        Trigger(junction, item);

    // One message per item, the Zoom item's double step included.
    QCOMPARE(dialogs.calls().size(), std::size_t(6));
    QVERIFY(dialogs.unexpected().isEmpty());
    for (std::size_t call = 0; call < 6; ++call) {
        QCOMPARE(dialogs.calls()[call].title, QString("Data Input Warning"));
        QVERIFY(dialogs.calls()[call].text.startsWith(call < 3 ? "Run the Axial Line Analysis"
                                                               : "Run the Junction Analysis"));
    }
    QCOMPARE(axial.surface().image(), before);
    QCOMPARE(main.state().RadiusN, 2);
    QVERIFY(RadiusGroupHidden(axial));
    QVERIFY(RadiusGroupHidden(junction));
}

void ColourMapTest::integrationValuesOfOtherLinesAreRefused() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    main.state().LineIntegration.pop_back();

    Trigger(main.workspace().axialResults, "mnuSyntax");

    QCOMPARE(dialogs.messageTexts(),
             QStringList{"Run the Axial Line Analysis first: its results do not cover the axial "
                         "lines as they are now"});
    QCOMPARE(PixelOf(main.workspace().axialResults.surface(), kOnChainLine[3]), kBlack);
}

void ColourMapTest::theRadius3MapCountsOnlyLinesWithinThreeSteps() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    main.mapWindow().setDrawWidth(5);

    Trigger(results, "mnuRadius3");

    // Mean depths within 3 steps: 2, 1.75, 1.5, 1.75, 2; so line 2 is 0.43 of the way from the
    // ends to the middle, where the total map has it at 0.64.
    const PictureSurface& surface = results.surface();
    QCOMPARE(PixelOf(surface, kOnChainLine[1]), kBlue);
    QCOMPARE(PixelOf(surface, kOnChainLine[2]), kSeaGreen);
    QCOMPARE(PixelOf(surface, kOnChainLine[3]), kRed);
    QCOMPARE(PixelOf(surface, kOnChainLine[4]), kSeaGreen);
    QCOMPARE(PixelOf(surface, kOnChainLine[5]), kBlue);
    QCOMPARE(surface.drawWidth(), 3);
    QCOMPARE(main.mapWindow().drawWidth(), 1);
    QVERIFY(RadiusGroupHidden(results));
}

void ColourMapTest::theJunctionRadius3MapDrawsDiscsOverTheWhiteLines() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& results = main.workspace().junctionResults;

    Trigger(results, "mnuRadius3");

    const PictureSurface& surface = results.surface();
    QCOMPARE(PixelOf(surface, {200, 140}), kRed);
    QCOMPARE(PixelOf(surface, {200 - 8, 140 + 8}), kRed);
    QCOMPARE(PixelOf(surface, {200, 240}), kBlue);
    QCOMPARE(RimRightOf(surface, {200, 240}, kBlue).second, kBlack);
    QCOMPARE(PixelOf(surface, {280, 240}), kWhite);
}

void ColourMapTest::zoomingDrawsTheCurrentRadiusFirstAndShowsTheRadiusGroup() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    results.show();
    results.layOutSpanGroup();

    Trigger(results, "mnuZoomMap");

    QCOMPARE(main.state().RadiusN, 4);
    QCOMPARE(results.box(1).text(), QString(" 4"));
    QVERIFY(results.box(1).isVisible());
    QCOMPARE(results.label(1).text(), QString("Radius"));
    QVERIFY(results.label(1).isVisible());
    QVERIFY(results.command(1).isVisible());
    QVERIFY(results.command(2).isVisible());
    QVERIFY(results.box(2).isHidden());
    QVERIFY(results.command(4).isHidden());
    // The radius reaches every line: the total integration map.
    QCOMPARE(PixelOf(results.surface(), kOnChainLine[2]), kYellowGreen);
    QCOMPARE(PixelOf(results.surface(), kOnChainLine[3]), kRed);
    QCOMPARE(PixelOf(results.surface(), kOnChainLine[5]), kBlue);
}

void ColourMapTest::theRadiusButtonsDisappearAtOneAndAtTheItemCount() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfThreeAndALoneLine(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    results.show();
    Trigger(results, "mnuZoomMap");
    QCOMPARE(results.box(1).text(), QString(" 2"));

    Click(results, "Command2");
    QCOMPARE(results.box(2).text(), QString("-1"));
    QCOMPARE(results.box(1).text(), QString(" 1"));
    QVERIFY(results.command(2).isHidden());
    QVERIFY(results.command(1).isVisible());

    Click(results, "Command1");
    QCOMPARE(results.box(2).text(), QString("1"));
    QVERIFY(results.command(1).isVisible());
    QVERIFY(results.command(2).isVisible());
    Click(results, "Command1");
    Click(results, "Command1");
    QCOMPARE(main.state().RadiusN, 4);
    QCOMPARE(results.box(1).text(), QString(" 4"));
    QVERIFY(results.command(1).isHidden());
    QVERIFY(results.command(2).isVisible());
}

void ColourMapTest::atRadiusOneLinesWithANeighbourAreRedAndALoneLineBlue() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfThreeAndALoneLine(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    Trigger(results, "mnuZoomMap");
    const PictureSurface& surface = results.surface();
    QCOMPARE(PixelOf(surface, kOnChainOfThreeLine[1]), kYellowGreen);
    QCOMPARE(PixelOf(surface, kOnChainOfThreeLine[2]), kRed);

    Click(results, "Command2");

    QCOMPARE(main.state().RadiusN, 1);
    for (int number : {1, 2, 3})
        QCOMPARE(PixelOf(surface, kOnChainOfThreeLine[number]), kRed);
    QCOMPARE(PixelOf(surface, kOnChainOfThreeLine[4]), kBlue);
}

void ColourMapTest::atRadiusTwoOnlyTheLinesNextToTheMiddleOfAChainOfFiveAreRed() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    Trigger(results, "mnuZoomMap");

    Click(results, "Command2");
    Click(results, "Command2");

    // Mean depths within 2 steps: 1.5, 1.33, 1.5, 1.33, 1.5.
    QCOMPARE(results.box(1).text(), QString(" 2"));
    const PictureSurface& surface = results.surface();
    for (int number : {1, 3, 5})
        QCOMPARE(PixelOf(surface, kOnChainLine[number]), kBlue);
    for (int number : {2, 4})
        QCOMPARE(PixelOf(surface, kOnChainLine[number]), kRed);
}

void ColourMapTest::whenEveryLineReachesEveryOtherEveryLineIsRed() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetTriangle(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    const QPoint onLines[] = {{320, 100}, {180, 150}, {220, 150}};

    Trigger(results, "mnuRadius3");
    for (QPoint at : onLines)
        QCOMPARE(PixelOf(results.surface(), at), kRed);

    Trigger(results, "mnuZoomMap");
    QCOMPARE(main.state().RadiusN, 1);
    for (QPoint at : onLines)
        QCOMPARE(PixelOf(results.surface(), at), kRed);
}

void ColourMapTest::pressingUpOnceThenZoomingAgainRaisesTheRadiusByTwo() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    results.show();
    main.state().RadiusN = 1;
    Trigger(results, "mnuZoomMap");
    QCOMPARE(main.state().RadiusN, 1);

    Click(results, "Command1");
    QCOMPARE(main.state().RadiusN, 2);
    Trigger(results, "mnuZoomMap");

    QCOMPARE(main.state().RadiusN, 4);
    QCOMPARE(results.box(1).text(), QString(" 4"));
    QVERIFY(results.command(1).isVisible());
    QVERIFY(results.command(2).isVisible());
}

void ColourMapTest::zoomingWithTheDownStepBelowOneDrawsEverythingRed() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfThreeAndALoneLine(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    results.show();
    Trigger(results, "mnuZoomMap");
    Click(results, "Command2");

    Trigger(results, "mnuZoomMap");

    // Nothing lies within a radius of -1.
    QCOMPARE(main.state().RadiusN, -1);
    QCOMPARE(results.box(1).text(), QString("-1"));
    for (int number : {1, 2, 3, 4})
        QCOMPARE(PixelOf(results.surface(), kOnChainOfThreeLine[number]), kRed);
    QVERIFY(results.command(1).isVisible());
    QVERIFY(results.command(2).isHidden());
}

void ColourMapTest::theSyntaxMapAfterARadiusMapHidesTheRadiusGroup() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    for (ResultsWindow* results :
         {&main.workspace().axialResults, &main.workspace().junctionResults}) {
        const bool axial = results->kind() == ResultsKind::Axial;
        results->show();
        Trigger(*results, axial ? "mnuZoomMap" : "mnuZoomRadii");
        QVERIFY(results->label(1).isVisible());

        Trigger(*results, "mnuSyntax");
        QVERIFY(RadiusGroupHidden(*results));

        Trigger(*results, axial ? "mnuZoomMap" : "mnuZoomRadii");
        Trigger(*results, "mnuRadius3");
        QVERIFY(RadiusGroupHidden(*results));
    }
    QVERIFY(dialogs.calls().empty());
}

void ColourMapTest::bothWindowsStepTheSameRadius() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& axial = main.workspace().axialResults;
    ResultsWindow& junction = main.workspace().junctionResults;
    junction.show();
    Trigger(axial, "mnuZoomMap");
    Click(axial, "Command2");

    // The junction window's own step register is still empty, so the radius stays at 3.
    Trigger(junction, "mnuZoomRadii");

    QCOMPARE(main.state().RadiusN, 3);
    QCOMPARE(junction.box(1).text(), QString(" 3"));
    // Four junctions: 3 can still go up.
    QVERIFY(junction.command(1).isVisible());
    QVERIFY(junction.command(2).isVisible());
}

void ColourMapTest::theJunctionRadiusButtonsStepTheJunctionMap() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& results = main.workspace().junctionResults;
    results.show();
    main.state().RadiusN = 2;
    Trigger(results, "mnuZoomRadii");

    Click(results, "Command2");

    // At radius 1 every junction has a neighbour: all discs red and all of the same size.
    QCOMPARE(main.state().RadiusN, 1);
    QVERIFY(results.command(2).isHidden());
    for (QPoint junction : {QPoint(100, 60), QPoint(100, 140), QPoint(200, 140), QPoint(200, 240)})
        QCOMPARE(PixelOf(results.surface(), junction + QPoint(-10, 10)), kRed);
    QCOMPARE(PixelOf(main.workspace().axialResults.surface(), kOnChainLine[3]), kBlack);
}

void ColourMapTest::theHiddenMainButtonsDrawTheMapsTheMenusDraw() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFive(main.state());
    ResultsWindow& axial = main.workspace().axialResults;
    ResultsWindow& junction = main.workspace().junctionResults;
    const auto drawnBy = [](ResultsWindow& window, const std::function<void()>& draw) {
        window.surface().clear();
        draw();
        return window.surface().image();
    };
    const struct {
        ResultsWindow& window;
        const char* item;
        const char* button;
    } pairs[] = {{axial, "mnuSyntax", "Command9"},   {junction, "mnuSyntax", "Command11"},
                 {axial, "mnuRadius3", "Command26"}, {junction, "mnuRadius3", "Command27"},
                 {axial, "mnuZoomMap", "Command28"}, {junction, "mnuZoomRadii", "Command29"}};
    for (const auto& pair : pairs) {
        const QImage byMenu = drawnBy(pair.window, [&] { Trigger(pair.window, pair.item); });
        const QImage byButton = drawnBy(pair.window, [&] { Click(main, pair.button); });
        QCOMPARE(byButton, byMenu);
        QImage empty(byButton.size(), byButton.format());
        empty.fill(Qt::black);
        QVERIFY(byButton != empty);
    }
    QVERIFY(dialogs.calls().empty());
}

QTEST_MAIN(ColourMapTest)
#include "test_colour_maps.moc"

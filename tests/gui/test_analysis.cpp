// The primal and dual analyses: messages, progress, results kept, and the results windows drawn.
#include "core/app/project_state.h"
#include "gui/analysis/analysis_operations.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "gui/geometry/intersections_operation.h"
#include "gui/geometry/map_refresh.h"
#include "gui/host/twips.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <initializer_list>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kGreen(0, 255, 0);

const QString kWarningTitle = "Data Input Warning";
const QString kDisconnected = "I think you have an axial line disconnected from the rest of the "
                              "system, I will proceed anyway";

void AddLines(ProjectState& state, std::initializer_list<AxialLine> lines) {
    for (const AxialLine& line : lines)
        AddAxialLine(state, line);
}

// Along y = 100 px and down x = 300 px, crossing at (300, 100) px.
void AddCrossingPair(ProjectState& state) {
    AddLines(state, {{1500, 1500, 7500, 1500}, {4500, 750, 4500, 6000}});
}

// Line 1 along y = 100 px, line 2 down x = 260 px crossing it, line 3 along y = 300 px.
void AddChainOfThree(ProjectState& state) {
    AddLines(state, {{1500, 1500, 4500, 1500}, {3900, 1000, 3900, 5000}, {2700, 4500, 6900, 4500}});
}

// Along y = 100 px and two diagonals: junctions at (150, 100), (350, 100) and (250, 200) px.
void AddTriangle(ProjectState& state) {
    AddLines(state, {{750, 1500, 6750, 1500}, {1500, 750, 4500, 3750}, {6000, 750, 3000, 3750}});
}

// Two diagonals crossing only each other, at (470, 350) px.
void AddLonePair(ProjectState& state) {
    AddLines(state, {{6000, 4200, 8100, 6300}, {8100, 4200, 6000, 6300}});
}

// One line along y = 100 px crossed by `count` - 1 upright lines: `count` lines and `count` - 1
// junctions, all connected.
void AddComb(ProjectState& state, int count) {
    AddAxialLine(state, {300, 1500, 8700, 1500});
    for (int tooth = 1; tooth < count; ++tooth) {
        const float x = Units(15 + 15 * tooth);
        AddAxialLine(state, {x, 750, x, 6000});
    }
}

// The number of `colour` pixels crossed going from `from` in steps of `step`, `from` included.
int RunLength(const QImage& image, QPoint from, QPoint step, const QColor& colour) {
    int length = 0;
    for (QPoint at = from; image.valid(at) && image.pixelColor(at) == colour; at += step)
        ++length;
    return length;
}

// The thickness of a red line across `at`, measured along `across`.
int RedWidthAt(const QImage& image, QPoint at, QPoint across) {
    return RunLength(image, at, across, kRed) + RunLength(image, at, -across, kRed) - 1;
}

// Pixels from a disc's centre straight down to the first pixel outside it, which must be black.
int DiscReachDown(const QImage& image, QPoint centre) {
    const int reach = RunLength(image, centre, {0, 1}, kRed);
    if (image.pixelColor(centre + QPoint(0, reach)) != kBlack)
        return -1;
    return reach;
}

// A white pixel at `at` or one step either side of it, where a scaled-down line is drawn.
bool WhiteAcross(const QImage& image, QPoint at, QPoint across) {
    return image.pixelColor(at) == kWhite || image.pixelColor(at + across) == kWhite ||
           image.pixelColor(at - across) == kWhite;
}

QPoint PixelOf(const Junction& junction) {
    return {qRound(junction.x / 15), qRound(junction.y / 15)};
}

void VerifyWarnings(const ScriptedDialogs& dialogs, const QStringList& texts) {
    QCOMPARE(dialogs.messageTexts(), texts);
    for (const DialogCall& call : dialogs.calls()) {
        QCOMPARE(call.title, kWarningTitle);
        QCOMPARE(call.buttons, MessageButtons::Ok);
        QCOMPARE(call.icon, MessageIcon::Question);
    }
}

// Notes whether the bar was on show whenever it moved.
struct BarWatch {
    explicit BarWatch(QProgressBar& bar) {
        QObject::connect(&bar, &QProgressBar::valueChanged, &bar, [this, &bar] {
            ++moves;
            shownWhileMoving = shownWhileMoving || !bar.isHidden();
        });
    }
    int moves = 0;
    bool shownWhileMoving = false;
};

bool GroupsShown(const ResultsWindow& window) {
    return !window.command(1).isHidden() && !window.command(4).isHidden();
}

bool GroupsHidden(const ResultsWindow& window) {
    return window.command(1).isHidden() && window.command(4).isHidden();
}

} // namespace

class AnalysisTest : public QObject {
    Q_OBJECT
private slots:
    void twoCrossingLinesAreBothDrawnElevenPixelsWide();
    void aChainOfThreeKeepsItsDepthsAndThickensOnlyTheMiddleLine();
    void theAnalysisFindsTheJunctionsFirstWhenTheyAreOutOfDate();
    void aRefusedJunctionSearchEndsTheAnalysisAfterItsOwnMessage();
    void oneLineAsksForMoreAndOpensNoWindow();
    void everyDisconnectedLineIsReportedOnceAndTheRunGoesOn();
    void noLinesOpenAnEmptyWindow();
    void thePanelAndTheInsetShowTheAxialMap();
    void theLineAnalysisHidesTheSteppingGroupsAndTheJunctionAnalysisDoesNot();
    void theResultsWindowsTakeTheMapWindowsSize();
    void theProgressBarShowsAboveThirtyLines();
    void theProgressBarShowsAboveThirtyJunctions();
    void aTriangleOfJunctionsGivesThreeFullDiscs();
    void withOneJunctionTheMapItemsShowTheLinesWithoutAWord();
    void aMapInSeparateGroupsSaysSoOnceAfterTheAnalysis();
    void aJunctionReachingNoOtherGetsTheSmallestDisc();
    void oneJunctionAsksForMoreLinesAndComputesNothing();
    void noJunctionsOpenAWindowWithTheLinesOnly();
};

void AnalysisTest::twoCrossingLinesAreBothDrawnElevenPixelsWide() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    AddCrossingPair(main.state());
    main.mapWindow().setDrawWidth(4);
    Click(main, "Command3");

    // The junction search runs first and has its say about the single junction.
    VerifyWarnings(dialogs, {"Only one junction - ideally enter more"});
    const ProjectState& state = main.state();
    QCOMPARE(state.LineIntegration, std::vector<float>({1.0f, 1.0f}));
    QCOMPARE(state.ScratchIntegration, state.LineIntegration);
    QCOMPARE(state.RadiusN, 1);
    QCOMPARE(state.GraphSpan, 1);
    const QImage& image = main.workspace().axialResults.surface().image();
    QCOMPARE(RedWidthAt(image, {200, 100}, {0, 1}), 11);
    QCOMPARE(RedWidthAt(image, {300, 300}, {1, 0}), 11);
    QCOMPARE(image.pixelColor(200, 120), kBlack);
    QCOMPARE(main.mapWindow().drawWidth(), 1);
}

void AnalysisTest::aChainOfThreeKeepsItsDepthsAndThickensOnlyTheMiddleLine() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddChainOfThree(state);
    AnalyseAxialLines(main.workspace());

    QVERIFY(dialogs.calls().empty());
    QCOMPARE(state.LineIntegration, std::vector<float>({0.0f, 1.0f, 0.0f}));
    const std::int16_t depths[3][3] = {{0, 1, 2}, {1, 0, 1}, {2, 1, 0}};
    const std::int16_t adjacent[3][3] = {{1, 1, 0}, {1, 1, 1}, {0, 1, 1}};
    QCOMPARE(state.LineDepth.rows(), std::size_t(3));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            QCOMPARE(state.LineDepth(i, j), depths[i][j]);
            QCOMPARE(state.LineRadius3Depth(i, j), depths[i][j]);
            QCOMPARE(state.LineAdjacency(i, j), adjacent[i][j]);
        }
    QCOMPARE(state.RadiusN, 2);
    QCOMPARE(state.GraphSpan, 2);

    const QImage& image = main.workspace().axialResults.surface().image();
    QCOMPARE(RedWidthAt(image, {150, 100}, {0, 1}), 1);
    QCOMPARE(RedWidthAt(image, {260, 200}, {1, 0}), 11);
    QCOMPARE(RedWidthAt(image, {400, 300}, {0, 1}), 1);
}

void AnalysisTest::theAnalysisFindsTheJunctionsFirstWhenTheyAreOutOfDate() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddTriangle(state);
    QVERIFY(!state.IntersectionsComputed);
    AnalyseAxialLines(main.workspace());

    QVERIFY(state.IntersectionsComputed);
    QCOMPARE(state.JunctionCount(), 3);
    QCOMPARE(main.box(2).text(), QString("3"));
    QCOMPARE(state.LineIntegration, std::vector<float>({1.0f, 1.0f, 1.0f}));
    QVERIFY(dialogs.calls().empty());
}

void AnalysisTest::aRefusedJunctionSearchEndsTheAnalysisAfterItsOwnMessage() {
    for (const bool axial : {true, false}) {
        ScriptedDialogs dialogs;
        MainWindow main(dialogs);
        ProjectState& state = main.state();
        // 23 by 23 lines cross 529 times, beyond what the junction table holds.
        for (int k = 0; k < 23; ++k) {
            const auto at = static_cast<float>(600 + 300 * k);
            AddAxialLine(state, {at, 300, at, 6600});
            AddAxialLine(state, {300, at * 0.9f, 8700, at * 0.9f});
        }
        if (axial)
            AnalyseAxialLines(main.workspace());
        else
            AnalyseJunctions(main.workspace());

        VerifyWarnings(dialogs,
                       {"More Than 500 Junctions Lines - Unfortunately You Must Start Again"});
        QVERIFY(state.LineDepth.empty());
        QVERIFY(state.JunctionDepth.empty());
        QVERIFY(main.workspace().axialResults.isHidden());
        QVERIFY(main.workspace().junctionResults.isHidden());
    }
}

void AnalysisTest::oneLineAsksForMoreAndOpensNoWindow() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddAxialLine(state, {1500, 1500, 7500, 1500});
    state.RadiusN = 5;
    state.GraphSpan = 5;
    main.mapWindow().setDrawWidth(3);
    Click(main, "Command3");

    VerifyWarnings(dialogs, {"Only one axial line - enter more"});
    QCOMPARE(state.RadiusN, 0);
    QCOMPARE(state.GraphSpan, 0);
    QVERIFY(state.LineDepth.empty());
    QVERIFY(main.workspace().axialResults.isHidden());
    QCOMPARE(main.mapWindow().drawWidth(), 1);
    // The inset still shows the line.
    QVERIFY(WhiteAcross(main.insetWindow().image(),
                        {qRound(300 * state.InsetScaleX), qRound(100 * state.InsetScaleY)},
                        {0, 1}));
}

void AnalysisTest::everyDisconnectedLineIsReportedOnceAndTheRunGoesOn() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddCrossingPair(state);
    AddLines(state, {{1500, 6000, 3000, 6000}, {6000, 6000, 7500, 6000}});
    ComputeIntersections(main.workspace());
    dialogs.clear();
    AnalyseAxialLines(main.workspace());

    VerifyWarnings(dialogs, {kDisconnected, kDisconnected});
    QCOMPARE(state.LineIntegration, std::vector<float>({1.0f, 1.0f, 0.0f, 0.0f}));
    QVERIFY(main.workspace().axialResults.isVisible());
    const QImage& image = main.workspace().axialResults.surface().image();
    QCOMPARE(RedWidthAt(image, {150, 400}, {0, 1}), 1);
    QCOMPARE(RedWidthAt(image, {450, 400}, {0, 1}), 1);
    QCOMPARE(RedWidthAt(image, {200, 100}, {0, 1}), 11);
}

void AnalysisTest::noLinesOpenAnEmptyWindow() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    state.RadiusN = 7;
    state.GraphSpan = 7;
    ResultsWindow& results = main.workspace().axialResults;
    results.surface().setFillColor(kGreen);
    results.surface().box(0, 0, 3000, 3000, kGreen);
    AnalyseAxialLines(main.workspace());

    QVERIFY(dialogs.calls().empty());
    QVERIFY(results.isVisible());
    QCOMPARE(results.surface().image().pixelColor(100, 100), kBlack);
    QCOMPARE(state.RadiusN, 0);
    QCOMPARE(state.GraphSpan, 0);
    QVERIFY(state.LineIntegration.empty());
}

void AnalysisTest::thePanelAndTheInsetShowTheAxialMap() {
    for (const bool axial : {true, false}) {
        ScriptedDialogs dialogs;
        MainWindow main(dialogs);
        ProjectState& state = main.state();
        AddChainOfThree(state);
        SetInsetCaption(main.workspace(), "something else", Qt::red);
        PictureSurface& inset = main.insetWindow();
        inset.line(0, 1500, 3000, 1500, kGreen);
        if (axial)
            AnalyseAxialLines(main.workspace());
        else
            AnalyseJunctions(main.workspace());

        MessagePanel& panel = main.panel();
        if (axial) {
            QCOMPARE(panel.box(3).toPlainText(),
                     QString("In the New Window, We Show the Integration/Access Values of Each "
                             "Axial Line."));
            QCOMPARE(panel.box(5).toPlainText(),
                     QString("The integration or access values represent 'how close' one line "
                             "is to all others, ie: proximity or accessibility"));
            QCOMPARE(panel.box(6).toPlainText(),
                     QString("This is the concept of depth used in space syntax"));
            QCOMPARE(panel.box(7).toPlainText(),
                     QString("It is the number of twists in each street segment from one line to "
                             "any other summed over all lines. It can be computed for a fixed "
                             "number N of lines away from the line in question"));
        } else {
            QCOMPARE(panel.box(3).toPlainText(),
                     QString("In this Window, We Show the Integration/Access Values of Each "
                             "Junction/Node."));
            QCOMPARE(panel.box(5).toPlainText(),
                     QString("The integration values represent 'how close' one junction is to "
                             "all others, ie: proximity/accessibility"));
            QCOMPARE(panel.box(6).toPlainText(),
                     QString("This is the same as the concept of depth in space syntax"));
            QCOMPARE(panel.box(7).toPlainText(),
                     QString("It is the number of junctions from one junction to any other "
                             "summed over all junctions. It can be computed for a fixed number N "
                             "of junctions away from the junction in question"));
        }
        QCOMPARE(panel.box(3).font().pointSize(), 12);
        for (int number : {5, 6, 7})
            QCOMPARE(panel.box(number).font().pointSize(), 10);

        QLabel& caption = main.label(2);
        QCOMPARE(caption.text(), QString("Window Shows a Scaled Down Axial Map"));
        QCOMPARE(caption.palette().color(QPalette::WindowText), QColor(Qt::black));
        const QImage& image = inset.image();
        QCOMPARE(image.pixelColor(20, 100), kBlack);
        QVERIFY(WhiteAcross(
            image, {qRound(200 * state.InsetScaleX), qRound(100 * state.InsetScaleY)}, {0, 1}));
        QVERIFY(WhiteAcross(
            image, {qRound(260 * state.InsetScaleX), qRound(200 * state.InsetScaleY)}, {1, 0}));
        QCOMPARE(inset.drawWidth(), 1);
    }
}

void AnalysisTest::theLineAnalysisHidesTheSteppingGroupsAndTheJunctionAnalysisDoesNot() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    AddTriangle(main.state());
    ComputeIntersections(main.workspace());
    Workspace& workspace = main.workspace();
    const auto layOutAll = [&workspace] {
        for (ResultsWindow* window : {&workspace.axialResults, &workspace.junctionResults}) {
            window->layOutRadiusGroup();
            window->layOutSpanGroup();
        }
    };

    layOutAll();
    AnalyseJunctions(workspace);
    QVERIFY(GroupsShown(workspace.axialResults));
    QVERIFY(GroupsShown(workspace.junctionResults));

    AnalyseAxialLines(workspace);
    QVERIFY(GroupsHidden(workspace.axialResults));
    QVERIFY(GroupsHidden(workspace.junctionResults));
}

void AnalysisTest::theResultsWindowsTakeTheMapWindowsSize() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.mapWindow().resizeUnits(7200, 5400);
    AddTriangle(main.state());
    AnalyseAxialLines(main.workspace());
    AnalyseJunctions(main.workspace());

    for (ResultsWindow* window :
         {&main.workspace().axialResults, &main.workspace().junctionResults}) {
        QVERIFY(window->isVisible());
        QCOMPARE(window->surface().widthUnits(), 7200.0);
        QCOMPARE(window->surface().heightUnits(), 5400.0);
        QCOMPARE(window->surface().image().size(), QSize(480, 360));
        QVERIFY(window->progressBar().isHidden());
        QCOMPARE(window->progressBar().width(), 480);
        QCOMPARE(window->progressBar().geometry().bottom(), window->surface().geometry().bottom());
    }
}

void AnalysisTest::theProgressBarShowsAboveThirtyLines() {
    for (const int count : {30, 31}) {
        ScriptedDialogs dialogs;
        MainWindow main(dialogs);
        AddComb(main.state(), count);
        ComputeIntersections(main.workspace());
        QProgressBar& bar = main.progressBar();
        const BarWatch watch(bar);
        AnalyseAxialLines(main.workspace());

        QVERIFY(dialogs.calls().empty());
        QVERIFY(watch.moves > 0);
        QCOMPARE(watch.shownWhileMoving, count == 31);
        QVERIFY(bar.isHidden());
        QCOMPARE(main.state().LineIntegration.size(), std::size_t(count));
    }
}

void AnalysisTest::theProgressBarShowsAboveThirtyJunctions() {
    for (const int count : {30, 31}) {
        ScriptedDialogs dialogs;
        MainWindow main(dialogs);
        AddComb(main.state(), count + 1);
        ComputeIntersections(main.workspace());
        QCOMPARE(main.state().JunctionCount(), count);
        QProgressBar& bar = main.progressBar();
        const BarWatch watch(bar);
        AnalyseJunctions(main.workspace());

        QVERIFY(dialogs.calls().empty());
        QVERIFY(watch.moves > 0);
        QCOMPARE(watch.shownWhileMoving, count == 31);
        QVERIFY(bar.isHidden());
    }
}

void AnalysisTest::withOneJunctionTheMapItemsShowTheLinesWithoutAWord() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.state().AxialLines = {{1500, 1500, 4500, 1500}, {3000, 600, 3000, 2400}};
    ComputeIntersections(main.workspace());
    Click(main, "Command4");
    const int afterAnalysis = static_cast<int>(dialogs.calls().size());

    ResultsWindow& junctions = main.workspace().junctionResults;
    for (const char* item : {"mnuSyntax", "mnuRadius3", "mnuDepthMaps"})
        Trigger(junctions, item);
    QCOMPARE(static_cast<int>(dialogs.calls().size()), afterAnalysis);
    const QImage image = junctions.surface().image();
    QCOMPARE(image.pixelColor(TwipsToPixels(2250), TwipsToPixels(1500)), QColor(Qt::white));
    QCOMPARE(image.pixelColor(TwipsToPixels(2250), TwipsToPixels(2250)), QColor(Qt::black));
}

void AnalysisTest::aMapInSeparateGroupsSaysSoOnceAfterTheAnalysis() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddTriangle(state);
    AddLonePair(state);
    AddLines(state, {{1500, 6000, 3000, 6000}, {2250, 5250, 2250, 6750}});
    ComputeIntersections(main.workspace());
    dialogs.clear();
    AnalyseAxialLines(main.workspace());
    VerifyWarnings(dialogs, {"The Axial Lines Fall into 3 Separate Groups - Integration Values "
                             "are Normalised over All of Them Together, not Group by Group"});
    // The numbers stay as they were: every line of each pair takes the highest value.
    QCOMPARE(state.LineIntegration[3], 1.0f);

    dialogs.clear();
    AnalyseJunctions(main.workspace());
    // Each pair's junction is alone: the triangle's junctions are the only group.
    QVERIFY(dialogs.calls().empty());
}

void AnalysisTest::aTriangleOfJunctionsGivesThreeFullDiscs() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddTriangle(state);
    ComputeIntersections(main.workspace());
    main.mapWindow().setDrawWidth(5);
    Click(main, "Command4");

    QVERIFY(dialogs.calls().empty());
    QCOMPARE(state.JunctionIntegration, std::vector<float>({1.0f, 1.0f, 1.0f}));
    QCOMPARE(state.ScratchIntegration, state.JunctionIntegration);
    const std::int16_t adjacent[3][3] = {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            QCOMPARE(state.JunctionDepth(i, j), std::int16_t(i == j ? 0 : 1));
            QCOMPARE(state.JunctionRadius3Depth(i, j), state.JunctionDepth(i, j));
            QCOMPARE(state.JunctionAdjacency(i, j), adjacent[i][j]);
        }
    QCOMPARE(state.RadiusN, 1);
    QCOMPARE(state.GraphSpan, 1);
    QCOMPARE(main.mapWindow().drawWidth(), 1);

    // Radius 245 units is 16.3 pixels.
    const QImage& image = main.workspace().junctionResults.surface().image();
    for (const Junction& junction : state.Junctions) {
        const int reach = DiscReachDown(image, PixelOf(junction));
        QVERIFY2(reach >= 16 && reach <= 17, qPrintable(QString::number(reach)));
    }
    // The lines are white and one pixel wide between the discs.
    QCOMPARE(image.pixelColor(250, 100), kWhite);
    QCOMPARE(image.pixelColor(250, 99), kBlack);
    QCOMPARE(image.pixelColor(250, 101), kBlack);
}

void AnalysisTest::aJunctionReachingNoOtherGetsTheSmallestDisc() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddTriangle(state);
    AddLonePair(state);
    ComputeIntersections(main.workspace());
    QCOMPARE(state.JunctionCount(), 4);
    AnalyseJunctions(main.workspace());

    QVERIFY(dialogs.calls().empty());
    QCOMPARE(state.JunctionIntegration, std::vector<float>({1.0f, 1.0f, 1.0f, 0.0f}));
    const QImage& image = main.workspace().junctionResults.surface().image();
    // Radius 100 units is 6.7 pixels.
    const int reach = DiscReachDown(image, PixelOf(state.Junctions[3]));
    QVERIFY2(reach >= 6 && reach <= 7, qPrintable(QString::number(reach)));
    QVERIFY(DiscReachDown(image, PixelOf(state.Junctions[0])) >= 16);
    QCOMPARE(state.RadiusN, 1);
}

void AnalysisTest::oneJunctionAsksForMoreLinesAndComputesNothing() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddCrossingPair(state);
    ComputeIntersections(main.workspace());
    dialogs.clear();
    state.RadiusN = 4;
    state.GraphSpan = 4;
    AnalyseJunctions(main.workspace());

    VerifyWarnings(dialogs,
                   {"Only one junction/node - enter more axial lines if you need this function"});
    QVERIFY(state.JunctionDepth.empty());
    QVERIFY(state.JunctionIntegration.empty());
    QCOMPARE(state.RadiusN, 0);
    QCOMPARE(state.GraphSpan, 0);
    QVERIFY(main.workspace().junctionResults.isHidden());
}

void AnalysisTest::noJunctionsOpenAWindowWithTheLinesOnly() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddLines(state, {{1500, 1500, 7500, 1500}, {1500, 3000, 7500, 3000}});
    state.RadiusN = 3;
    AnalyseJunctions(main.workspace());

    QVERIFY(dialogs.calls().empty());
    QCOMPARE(state.JunctionCount(), 0);
    QVERIFY(state.JunctionDepth.empty());
    QCOMPARE(state.RadiusN, 0);
    QCOMPARE(state.GraphSpan, 0);
    ResultsWindow& results = main.workspace().junctionResults;
    QVERIFY(results.isVisible());
    QCOMPARE(results.surface().image().pixelColor(300, 100), kWhite);
    QCOMPARE(results.surface().image().pixelColor(300, 200), kWhite);
    QCOMPARE(results.surface().image().pixelColor(300, 150), kBlack);
}

QTEST_MAIN(AnalysisTest)
#include "test_analysis.moc"

// Depth maps from the results windows: the origin asked for, the refusals, and the colours drawn.
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "support/analysed_maps.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QLineEdit>
#include <QPushButton>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

const QString kLinePrompt =
    "You Need to Enter the Number of the Line From Which You Want To Compute The Depths";
const QString kLineTitle = "Getting the Line Number for the Depth Map";

// Line 1 along y = 100 px, line 2 down x = 260 px crossing it, line 3 along y = 300 px.
void SetChainOfThree(ProjectState& state) {
    SetAnalysedMap(state,
                   {{1500, 1500, 4500, 1500}, {3900, 1000, 3900, 5000}, {2700, 4500, 6900, 4500}},
                   {{1, 2, 3900, 1500}, {2, 3, 3900, 4500}});
}

// The chain of three and a fourth line down x = 400 px: junctions at (260, 100), (260, 300) and
// (400, 300) px, the first two on line 2 and the last two on line 3.
void SetChainOfFour(ProjectState& state) {
    SetAnalysedMap(state,
                   {{1500, 1500, 4500, 1500},
                    {3900, 1000, 3900, 5000},
                    {2700, 4500, 6900, 4500},
                    {6000, 4000, 6000, 6500}},
                   {{1, 2, 3900, 1500}, {2, 3, 3900, 4500}, {3, 4, 6000, 4500}});
}

QColor PixelOf(const PictureSurface& surface, int x, int y) {
    return surface.image().pixelColor(x, y);
}

} // namespace

class DepthMapTest : public QObject {
    Q_OBJECT
private slots:
    void aChainOfThreeSeenFromLineOneRunsRedGreenBlue();
    void aWrongOriginIsRefusedAndAskedForAgain();
    void cancellingTheOriginLeavesTheMapAsItWas();
    void beforeTheAnalysisTheUserIsToldWhichAnalysisToRun();
    void depthsOlderThanTheLinesAreRefused();
    void aMapWithNothingConnectedHasNoDepthMap();
    void junctionDiscsGrowAndTurnRedNearerTheOrigin();
};

void DepthMapTest::aChainOfThreeSeenFromLineOneRunsRedGreenBlue() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfThree(main.state());
    ResultsWindow& results = main.workspace().axialResults;
    results.layOutSpanGroup();
    main.mapWindow().setDrawWidth(4);

    dialogs.answerInput("1");
    Trigger(results, "mnuDepthMaps");

    QVERIFY(dialogs.unexpected().isEmpty());
    QCOMPARE(dialogs.calls().size(), std::size_t(1));
    const DialogCall& asked = dialogs.calls().front();
    QCOMPARE(asked.text, kLinePrompt);
    QCOMPARE(asked.title, kLineTitle);
    QCOMPARE(asked.position, std::optional<QPoint>(QPoint(2000, 3500)));

    const PictureSurface& surface = results.surface();
    QCOMPARE(PixelOf(surface, 150, 100), kRed);
    QCOMPARE(PixelOf(surface, 260, 200), kGreen);
    QCOMPARE(PixelOf(surface, 400, 300), kBlue);
    // Lines are three pixels wide.
    QCOMPARE(PixelOf(surface, 400, 301), kBlue);
    QCOMPARE(PixelOf(surface, 400, 299), kBlue);
    QCOMPARE(PixelOf(surface, 400, 303), kBlack);
    QCOMPARE(surface.drawWidth(), 3);
    QCOMPARE(main.mapWindow().drawWidth(), 1);
    QVERIFY(results.command(4).isHidden());
    QVERIFY(results.box(3).isHidden());
}

void DepthMapTest::aWrongOriginIsRefusedAndAskedForAgain() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfThree(main.state());

    dialogs.answerInput("4");
    dialogs.answerMessage(MessageAnswer::Yes);
    dialogs.answerInput("");
    dialogs.answerMessage(MessageAnswer::No);
    // Halves go to the even neighbour: line 2, not line 3.
    dialogs.answerInput("2.5");
    Trigger(main.workspace().axialResults, "mnuDepthMaps");

    QVERIFY(dialogs.unexpected().isEmpty());
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(dialogs.calls().size(), std::size_t(5));
    for (std::size_t refusal : {1, 3}) {
        const DialogCall& call = dialogs.calls()[refusal];
        QCOMPARE(call.text, QString("You Typed in an Incorrect Number/Value"));
        QCOMPARE(call.title, QString("Error in KeyBoard Input"));
        QCOMPARE(call.buttons, MessageButtons::YesNo);
        QCOMPARE(call.icon, MessageIcon::Question);
    }
    for (std::size_t input : {0, 2, 4})
        QCOMPARE(dialogs.calls()[input].title, kLineTitle);

    const PictureSurface& surface = main.workspace().axialResults.surface();
    QCOMPARE(PixelOf(surface, 260, 200), kRed);
    QCOMPARE(PixelOf(surface, 150, 100), kGreen);
    QCOMPARE(PixelOf(surface, 400, 300), kGreen);
}

void DepthMapTest::cancellingTheOriginLeavesTheMapAsItWas() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfThree(main.state());
    PictureSurface& surface = main.workspace().axialResults.surface();
    surface.line(0, 0, 3000, 3000, Qt::yellow);
    const QImage before = surface.image();

    dialogs.answerInput(std::nullopt);
    Trigger(main.workspace().axialResults, "mnuDepthMaps");

    QCOMPARE(dialogs.calls().size(), std::size_t(1));
    QVERIFY(dialogs.unexpected().isEmpty());
    QCOMPARE(surface.image(), before);
}

void DepthMapTest::beforeTheAnalysisTheUserIsToldWhichAnalysisToRun() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFour(main.state());
    main.state().LineDepth = {};
    main.state().JunctionDepth = {};

    Trigger(main.workspace().axialResults, "mnuDepthMaps");
    Trigger(main.workspace().junctionResults, "mnuDepthMaps");

    QCOMPARE(dialogs.calls().size(), std::size_t(2));
    QVERIFY(dialogs.calls()[0].text.startsWith("Run the Axial Line Analysis first"));
    QVERIFY(dialogs.calls()[1].text.startsWith("Run the Junction Analysis first"));
    for (const DialogCall& call : dialogs.calls()) {
        QCOMPARE(call.kind, DialogCall::Kind::Message);
        QCOMPARE(call.icon, MessageIcon::Question);
    }
}

void DepthMapTest::depthsOlderThanTheLinesAreRefused() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfThree(main.state());
    main.state().AxialLines.push_back({6000, 4000, 6000, 6500});

    Click(main, "Command21");

    QCOMPARE(dialogs.calls().size(), std::size_t(1));
    QVERIFY(dialogs.calls()[0].text.startsWith("Run the Axial Line Analysis first"));
}

void DepthMapTest::aMapWithNothingConnectedHasNoDepthMap() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetAnalysedMap(main.state(), {{1500, 1500, 4500, 1500}, {1500, 3000, 4500, 3000}}, {});
    const QImage before = main.workspace().axialResults.surface().image();

    Click(main, "Command21");

    QCOMPARE(dialogs.calls().size(), std::size_t(1));
    QVERIFY(dialogs.calls()[0].text.startsWith("All the depths are 0"));
    QCOMPARE(main.workspace().axialResults.surface().image(), before);
}

void DepthMapTest::junctionDiscsGrowAndTurnRedNearerTheOrigin() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFour(main.state());
    ResultsWindow& results = main.workspace().junctionResults;

    dialogs.answerInput("1");
    Trigger(results, "mnuDepthMaps");

    QVERIFY(dialogs.unexpected().isEmpty());
    QCOMPARE(dialogs.calls()[0].text, QString("You Need to Enter the Number of the Junction From "
                                              "Which You Want To Compute The Depths"));
    QCOMPARE(dialogs.calls()[0].title, QString("Getting the Junction Number for the Depth Map"));

    const PictureSurface& surface = results.surface();
    // The origin: radius about 245 units, 16 pixels.
    QCOMPARE(PixelOf(surface, 260, 100), kRed);
    QCOMPARE(PixelOf(surface, 260 + 15, 100), kRed);
    // Halfway: radius about 187 units, 12 pixels.
    QCOMPARE(PixelOf(surface, 260, 300), kGreen);
    QCOMPARE(PixelOf(surface, 260, 300 + 11), kGreen);
    QCOMPARE(PixelOf(surface, 260, 300 + 14), kWhite);
    // The deepest: radius 100 units, under 7 pixels, in white lines.
    QCOMPARE(PixelOf(surface, 400, 300), kBlue);
    QCOMPARE(PixelOf(surface, 400, 300 + 5), kBlue);
    QCOMPARE(PixelOf(surface, 400 + 10, 300), kWhite);
    QCOMPARE(PixelOf(surface, 400, 420), kWhite);
    QCOMPARE(surface.drawWidth(), 1);
}

QTEST_MAIN(DepthMapTest)
#include "test_depth_maps.moc"

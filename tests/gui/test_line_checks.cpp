// "Check Axial  Lines": the three checks, their questions, marks, deletions and refreshes.
#include "core/app/project_state.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/geometry/intersections_operation.h"
#include "gui/geometry/line_checks_operation.h"
#include "gui/host/twips.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGreen(0, 160, 0);

// Answers from a script, and keeps what both windows showed when each message box appeared.
class WatchingDialogs final : public Dialogs {
public:
    struct Shot {
        QString title;
        QImage map, inset;
        QString caption;
        QColor captionColour;
        std::optional<QRect> keepClear;
    };

    ScriptedDialogs script;
    MainWindow* main = nullptr;
    std::vector<Shot> shots;

    const Shot& shotAt(const QString& title) const {
        for (const Shot& shot : shots)
            if (shot.title == title)
                return shot;
        qFatal("no message box titled %s", qPrintable(title));
    }

    MessageAnswer message(const QString& text, const QString& title, MessageButtons buttons,
                          MessageIcon icon, std::optional<QRect> keepClear) override {
        if (main)
            shots.push_back({title, main->mapWindow().image(), main->insetWindow().image(),
                             main->label(2).text(),
                             main->label(2).palette().color(QPalette::WindowText), keepClear});
        return script.message(text, title, buttons, icon, keepClear);
    }
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 std::optional<QPoint> position) override {
        return script.input(prompt, title, position);
    }
    std::optional<int> choose(const QString& prompt, const QString& title,
                              const QStringList& items) override {
        return script.choose(prompt, title, items);
    }
    std::optional<QString> openFile(const FileRequest& request) override {
        return script.openFile(request);
    }
    std::optional<QString> saveFile(const FileRequest& request) override {
        return script.saveFile(request);
    }
    std::optional<QColor> colour(const QColor& initial) override { return script.colour(initial); }
    bool printer(QPrinter& printer) override { return script.printer(printer); }
};

struct Box {
    QString text, title;
    MessageButtons buttons = MessageButtons::Ok;
};

void VerifyBoxes(const ScriptedDialogs& dialogs, const std::vector<Box>& expected) {
    QCOMPARE(dialogs.calls().size(), expected.size());
    for (std::size_t index = 0; index < expected.size(); ++index) {
        const DialogCall& call = dialogs.calls()[index];
        QCOMPARE(call.text, expected[index].text);
        QCOMPARE(call.title, expected[index].title);
        QCOMPARE(call.buttons, expected[index].buttons);
        QCOMPARE(call.icon, MessageIcon::Question);
    }
    QVERIFY2(dialogs.unexpected().isEmpty(), qPrintable(dialogs.unexpected().join("; ")));
    QVERIFY(dialogs.allAnswersUsed());
}

// Whether `colour` is at `at` or one of its neighbours (lines land on either side of a
// fractional pixel position).
bool Near(const QImage& image, QPoint at, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.valid(at.x() + dx, at.y() + dy) &&
                image.pixelColor(at.x() + dx, at.y() + dy) == colour)
                return true;
    return false;
}

// Map pixels that are multiples of 30 land on whole inset pixels (the inset is 11/30 the size).
QPoint InsetPixel(int mapX, int mapY) {
    return {mapX * 11 / 30, mapY * 11 / 30};
}

AxialLine Pixels(int x1, int y1, int x2, int y2) {
    return {Units(x1), Units(y1), Units(x2), Units(y2)};
}

// A street along y = 180 px and four cross streets at x = 90, 180, 270 and 360 px.
void AddComb(ProjectState& state) {
    AddAxialLine(state, Pixels(30, 180, 450, 180));
    for (int x : {90, 180, 270, 360})
        AddAxialLine(state, Pixels(x, 90, x, 270));
}

const Box kFirstCheck{"First We Check to See if There are No Rogue Lines on the Map",
                      "Checking Rogue Lines"};
const Box kNoRogueLines{"All Is OK - No Rogue Lines", "First Check Completed"};
const Box kSecondCheck{"Second We Check for Any Freestanding Disconnected Axial Lines",
                       "Checking Disconnected Lines"};
const Box kNoDisconnectedLines{"All Is OK - No Disconnected Lines", "Second Check Completed"};
const Box kLastCheck{"Last We Now Check the Position of Each Axial Line", "Checking Lines"};
const Box kLineQuestion{"Is the Position of the Axial Line Correct?", "Checking Each Axial Line",
                        MessageButtons::YesNo};
const Box kDeleteQuestion{"Do You Want to Delete the Incorrect Axial Lines?", "Deleting Line",
                          MessageButtons::YesNo};

void VerifyPanelEmpty(MainWindow& main) {
    for (int number : {3, 5, 6, 7})
        QCOMPARE(main.panel().box(number).toPlainText(), QString());
}

} // namespace

class LineChecksTest : public QObject {
    Q_OBJECT
private slots:
    void theUserRejectsLinesTwoAndFourAndTheRestAreRenumbered();
    void linesRejectedInTheLastCheckAreShownRed();
    void everyLineAcceptedStillAsksTheDeletionQuestion();
    void strayClicksAreMarkedRedAndDeletedOnYes();
    void theSecondCheckRecomputesJunctionsAfterADeletion();
    void freestandingLinesAreShownRedAndKeptOnNo();
    void tooManyCrossingsInTheSecondCheckOfferNoDeletion();
    void eachCheckEndsWithTheAxialMapRedrawnOverThePlan();
    void deletingEveryLineResetsTheJunctionCounter();
    void withNoLinesEveryCheckStillShowsItsBoxes();
    void oneLineWarnsAndEndsTheChecks();
    void theButtonRunsTheChecks();
};

void LineChecksTest::theUserRejectsLinesTwoAndFourAndTheRestAreRenumbered() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddComb(state);
    const std::vector<AxialLine> lines = state.AxialLines;
    for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Yes,
                                 MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Yes})
        dialogs.answerMessage(answer);
    main.mapWindow().setDrawWidth(3);

    CheckAxialLines(main.workspace());

    VerifyBoxes(dialogs, {kFirstCheck, kNoRogueLines, kSecondCheck, kNoDisconnectedLines,
                          kLastCheck, kLineQuestion, kLineQuestion, kLineQuestion, kLineQuestion,
                          kLineQuestion, kDeleteQuestion});
    QCOMPARE(state.AxialLines, (std::vector<AxialLine>{lines[0], lines[2], lines[4]}));
    QCOMPARE(main.box(1).text(), QString(" 3"));
    // The junctions named the old numbers: they are out of date until computed again.
    QCOMPARE(state.JunctionCount(), 0);
    QVERIFY(!state.IntersectionsComputed);
    QCOMPARE(main.box(2).text(), QString("0"));
    QCOMPARE(main.mapWindow().drawWidth(), 1);
    VerifyPanelEmpty(main);
}

void LineChecksTest::linesRejectedInTheLastCheckAreShownRed() {
    WatchingDialogs dialogs;
    MainWindow main(dialogs);
    dialogs.main = &main;
    AddComb(main.state());
    for (MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Yes,
                                 MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No})
        dialogs.script.answerMessage(answer);

    CheckAxialLines(main.workspace());

    const WatchingDialogs::Shot& shot = dialogs.shotAt("Deleting Line");
    QCOMPARE(shot.caption, QString("Red Lines Show Incorrect Positions"));
    QCOMPARE(shot.captionColour, kRed);
    QVERIFY(Near(shot.map, {90, 120}, kRed));
    QVERIFY(Near(shot.inset, InsetPixel(90, 120), kRed));
    QVERIFY(Near(shot.map, {180, 120}, kBlack));
    QVERIFY(!Near(shot.map, {180, 120}, kRed));
    QVERIFY(Near(shot.inset, InsetPixel(180, 120), kWhite));
    QCOMPARE(main.label(2).text(), QString("Window Shows a Scaled Down Axial Map"));
    QCOMPARE(main.label(2).palette().color(QPalette::WindowText), kBlack);
    // No was the answer to the deletion: every line stays and is drawn black again.
    QCOMPARE(main.state().LineCount(), 5);
    QVERIFY(Near(main.mapWindow().image(), {90, 120}, kBlack));
    QVERIFY(!Near(main.mapWindow().image(), {90, 120}, kRed));

    // The line asked about stands out in yellow, and the box is told to keep clear of it; no
    // mark stays after the answer.
    const WatchingDialogs::Shot& asked = dialogs.shotAt("Checking Each Axial Line");
    const AxialLine& first = main.state().AxialLines[0];
    const QPoint middle(TwipsToPixels((first.x1 + first.x2) / 2),
                        TwipsToPixels((first.y1 + first.y2) / 2));
    QVERIFY(Near(asked.map, middle, kYellow));
    QVERIFY(!Near(shot.map, middle, kYellow));
    QVERIFY(asked.keepClear && asked.keepClear->contains(main.mapWindow().mapToGlobal(middle)));
}

void LineChecksTest::everyLineAcceptedStillAsksTheDeletionQuestion() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    AddComb(main.state());
    for (int answer = 0; answer < 6; ++answer)
        dialogs.answerMessage(MessageAnswer::Yes);
    CheckAxialLines(main.workspace());
    QCOMPARE(dialogs.calls().back().text, kDeleteQuestion.text);
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(main.state().LineCount(), 5);
    // Nothing was deleted, so the junctions of the second check stand.
    QVERIFY(main.state().IntersectionsComputed);
    QCOMPARE(main.state().JunctionCount(), 4);
    QCOMPARE(main.box(2).text(), QString("4"));
}

void LineChecksTest::strayClicksAreMarkedRedAndDeletedOnYes() {
    WatchingDialogs dialogs;
    MainWindow main(dialogs);
    dialogs.main = &main;
    ProjectState& state = main.state();
    AddAxialLine(state, Pixels(30, 180, 450, 180));
    AddAxialLine(state, Pixels(90, 90, 90, 90)); // a click
    AddAxialLine(state, Pixels(180, 90, 180, 270));
    AddAxialLine(state, {4000, 1000, 4049, 1049}); // shorter than 50 on both axes
    AddAxialLine(state, {2700, 3600, 2750, 3600}); // exactly 50 across: a line
    AddAxialLine(state, {2640, 3000, 2640, 3050}); // exactly 50 down: a line
    AddAxialLine(state, {2600, 4000, 2649, 4000}); // 49 across only
    const std::vector<AxialLine> lines = state.AxialLines;
    dialogs.script.answerMessage(MessageAnswer::Yes); // delete the rogue lines
    dialogs.script.answerMessage(MessageAnswer::No);  // keep the freestanding short lines
    for (int answer = 0; answer < 4; ++answer)
        dialogs.script.answerMessage(MessageAnswer::Yes);
    dialogs.script.answerMessage(MessageAnswer::No);

    CheckAxialLines(main.workspace());

    const WatchingDialogs::Shot& shot = dialogs.shotAt("Rogue Lines/Points Digitised Incorrectly");
    QCOMPARE(shot.map.pixelColor(90, 90), kRed);
    QCOMPARE(shot.map.pixelColor(90, 93), kRed); // radius 50 units is 3.3 pixels
    QCOMPARE(shot.inset.pixelColor(InsetPixel(90, 90)), kRed);
    QCOMPARE(shot.map.pixelColor(268, 68), kRed);
    QCOMPARE(shot.map.pixelColor(181, 60), kWhite); // a line that is long enough is not marked
    const DialogCall& question = dialogs.script.calls()[1];
    QCOMPARE(question.text, QString("Do You Want to Delete These Lines/Points?"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.icon, MessageIcon::Question);

    QCOMPARE(state.AxialLines, (std::vector<AxialLine>{lines[0], lines[2], lines[4], lines[5]}));
    QVERIFY(dialogs.script.unexpected().isEmpty());
    QVERIFY(dialogs.script.allAnswersUsed());
    QCOMPARE(shot.caption, QString("Red Points Show the Rogue Points"));
    QCOMPARE(shot.captionColour, kRed);
    // The refresh wipes the marks before the second check.
    QCOMPARE(dialogs.shotAt("Checking Disconnected Lines").map.pixelColor(90, 90), kWhite);
}

void LineChecksTest::theSecondCheckRecomputesJunctionsAfterADeletion() {
    WatchingDialogs dialogs;
    MainWindow main(dialogs);
    dialogs.main = &main;
    ProjectState& state = main.state();
    AddAxialLine(state, Pixels(30, 180, 450, 180));
    AddAxialLine(state, Pixels(90, 90, 90, 90)); // a click
    AddAxialLine(state, Pixels(180, 90, 180, 270));
    ComputeIntersections(main.workspace());
    QCOMPARE(state.Junctions.front().secondLine, 3.0f);
    dialogs.script.clear();
    dialogs.script.answerMessage(MessageAnswer::Yes); // delete the click
    for (int answer = 0; answer < 3; ++answer)
        dialogs.script.answerMessage(MessageAnswer::Yes);

    CheckAxialLines(main.workspace());

    // The cross street is now line 2 and still meets the main street: nothing is freestanding.
    QCOMPARE(dialogs.script.messageTexts().count(kNoDisconnectedLines.text), 1);
    QCOMPARE(state.LineCount(), 2);
    QCOMPARE(state.JunctionCount(), 1);
    QCOMPARE(state.Junctions.front(), (Junction{1, 2, Units(180), Units(180)}));
    QVERIFY(state.IntersectionsComputed);
    // The recomputed junction is marked in blue while the second check runs.
    QCOMPARE(dialogs.shotAt("Second Check Completed").map.pixelColor(180, 180), QColor(0, 0, 255));
}

void LineChecksTest::freestandingLinesAreShownRedAndKeptOnNo() {
    WatchingDialogs dialogs;
    MainWindow main(dialogs);
    dialogs.main = &main;
    ProjectState& state = main.state();
    AddAxialLine(state, Pixels(30, 180, 450, 180));
    AddAxialLine(state, Pixels(180, 90, 180, 270));
    AddAxialLine(state, Pixels(300, 300, 420, 300)); // crosses nothing
    dialogs.script.answerMessage(MessageAnswer::No);
    for (int answer = 0; answer < 4; ++answer)
        dialogs.script.answerMessage(MessageAnswer::Yes);

    CheckAxialLines(main.workspace());

    // Computing the junctions first tells that there is only one.
    QCOMPARE(dialogs.script.calls()[3].text, QString("Only one junction - ideally enter more"));
    const DialogCall& question = dialogs.script.calls()[4];
    QCOMPARE(question.text, QString("Do You Want to Delete These Disconnected Lines?"));
    QCOMPARE(question.title, QString("Disconnected Lines Digitised Incorrectly"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    const WatchingDialogs::Shot& shot = dialogs.shotAt(question.title);
    QVERIFY(Near(shot.map, {360, 300}, kRed));
    QVERIFY(Near(shot.inset, InsetPixel(360, 300), kRed));
    QVERIFY(!Near(shot.map, {60, 180}, kRed));
    QCOMPARE(shot.caption, QString("Red Lines Show the Disconnections"));
    QCOMPARE(shot.captionColour, kRed);
    QCOMPARE(state.LineCount(), 3);
    QCOMPARE(state.JunctionCount(), 1);
}

void LineChecksTest::tooManyCrossingsInTheSecondCheckOfferNoDeletion() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    // 23 rows by 22 columns would cross 506 times.
    for (int row = 0; row < 23; ++row)
        AddAxialLine(state, {150, 200.0f + 250 * row, 8850, 200.0f + 250 * row});
    for (int column = 0; column < 22; ++column)
        AddAxialLine(state, {300.0f + 390 * column, 100, 300.0f + 390 * column, 6650});
    for (int line = 0; line < 45; ++line)
        dialogs.answerMessage(MessageAnswer::Yes);
    dialogs.answerMessage(MessageAnswer::No);

    CheckAxialLines(main.workspace());

    const QStringList texts = dialogs.messageTexts();
    QCOMPARE(texts[3],
             QString("More Than 500 Junctions Lines - Unfortunately You Must Start Again"));
    QCOMPARE(texts[4], kLastCheck.text);
    QVERIFY(dialogs.unexpected().isEmpty());
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(state.LineCount(), 45);
}

void LineChecksTest::eachCheckEndsWithTheAxialMapRedrawnOverThePlan() {
    WatchingDialogs dialogs;
    MainWindow main(dialogs);
    dialogs.main = &main;
    QImage plan(60, 45, QImage::Format_RGB32);
    plan.fill(kGreen);
    main.storedPlan() = plan;
    ProjectState& state = main.state();
    AddAxialLine(state, Pixels(30, 180, 450, 180));
    AddAxialLine(state, Pixels(90, 90, 90, 90)); // a click
    AddAxialLine(state, Pixels(180, 90, 180, 270));
    main.mapWindow().line(0, 0, 9000, 6750, kRed);   // something the refresh must wipe
    dialogs.script.answerMessage(MessageAnswer::No); // keep the click
    dialogs.script.answerMessage(MessageAnswer::No); // keep the freestanding click
    for (int answer = 0; answer < 4; ++answer)
        dialogs.script.answerMessage(MessageAnswer::Yes);

    CheckAxialLines(main.workspace());

    // The second check's first box comes after the first check's refresh.
    const WatchingDialogs::Shot& refreshed = dialogs.shotAt("Checking Disconnected Lines");
    QCOMPARE(refreshed.map.pixelColor(90, 90), kBlack); // the click, no longer a red disc
    QCOMPARE(refreshed.map.pixelColor(90, 94), kGreen);
    QCOMPARE(refreshed.map.pixelColor(30, 30), kGreen);
    QVERIFY(Near(refreshed.map, {300, 180}, kBlack));
    QVERIFY(Near(refreshed.inset, InsetPixel(300, 180), kWhite));
    QCOMPARE(refreshed.inset.pixelColor(InsetPixel(300, 90)), kBlack);

    const QImage& map = main.mapWindow().image();
    QCOMPARE(map.pixelColor(30, 30), kGreen);
    QCOMPARE(map.pixelColor(599, 449), kGreen);
    QVERIFY(Near(map, {300, 180}, kBlack));
    QCOMPARE(main.box(1).text(), QString(" 3"));
    QCOMPARE(main.label(2).text(), QString("Window Shows a Scaled Down Axial Map"));
    QCOMPARE(main.label(2).palette().color(QPalette::WindowText), kBlack);
}

void LineChecksTest::deletingEveryLineResetsTheJunctionCounter() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    ProjectState& state = main.state();
    AddAxialLine(state, Pixels(30, 180, 450, 180));
    AddAxialLine(state, Pixels(180, 90, 180, 270));
    dialogs.answerMessage(MessageAnswer::No);
    dialogs.answerMessage(MessageAnswer::No);
    dialogs.answerMessage(MessageAnswer::Yes);

    CheckAxialLines(main.workspace());

    QCOMPARE(state.LineCount(), 0);
    QCOMPARE(state.JunctionCount(), 0);
    QCOMPARE(main.box(1).text(), QString(" 0"));
    QCOMPARE(main.box(2).text(), QString("0"));
}

void LineChecksTest::withNoLinesEveryCheckStillShowsItsBoxes() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    dialogs.answerMessage(MessageAnswer::Yes);
    CheckAxialLines(main.workspace());
    VerifyBoxes(dialogs, {kFirstCheck, kNoRogueLines, kSecondCheck, kNoDisconnectedLines,
                          kLastCheck, kDeleteQuestion});
    QCOMPARE(main.box(1).text(), QString(" 0"));
}

void LineChecksTest::oneLineWarnsAndEndsTheChecks() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    AddAxialLine(main.state(), Pixels(30, 180, 450, 180));
    main.mapWindow().setDrawWidth(5);
    CheckAxialLines(main.workspace());
    VerifyBoxes(dialogs, {{"Only one axial line - enter more", "Data Input Warning"}});
    QCOMPARE(main.state().LineCount(), 1);
    QCOMPARE(main.mapWindow().drawWidth(), 1);
    VerifyPanelEmpty(main);
}

void LineChecksTest::theButtonRunsTheChecks() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    dialogs.answerMessage(MessageAnswer::No);
    Click(main, "Command1");
    QCOMPARE(dialogs.calls().size(), std::size_t(6));
    QCOMPARE(dialogs.calls().front().text, kFirstCheck.text);
}

QTEST_MAIN(LineChecksTest)
#include "test_line_checks.moc"

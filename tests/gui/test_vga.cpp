// Visibility graph analysis on the desktop: the button, its prompts, the click in the plan, the
// window of coloured cells, and the points it saves, which are the batch tool's.
#include "cli/vga_command.h"
#include "core/display/colour_scale.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/vga_results_window.h"
#include "support/gui_test_support.h"
#include "support/main_window_session.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <sstream>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

// An L of open floor, 100 x 80 pixels: dark walls two pixels thick round the picture, and a
// dark block filling its top-right corner.
QImage LPlan() {
    QImage plan(100, 80, QImage::Format_RGB32);
    plan.fill(Qt::white);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool border = x < 7 || y < 7 || x > 92 || y > 72;
            const bool block = x >= 50 && y <= 40;
            if (border || block)
                plan.setPixelColor(x, y, QColor(30, 30, 30));
        }
    }
    return plan;
}

const QPoint kInside(20, 60);
const QString kPrompt = "Enter the Grid Spacing in Pixels of the Map (Leave it Empty for 2 "
                        "Pixels, About 2000 Points on the Whole Map)";

struct Session : MainWindowSession {
    QTemporaryDir folder;
    QString planPath = folder.filePath("l.png");

    Session() {
        LPlan().save(planPath);
        dialogs.answerFile(planPath);
        Trigger(main, "mnuOpen");
    }
    VgaResultsWindow& window() { return workspace().vgaResults; }
    // The button, the spacing typed, then a left click at `at` on the map.
    void analyse(const QString& spacing, QPoint at = kInside) {
        dialogs.answerInput(spacing);
        Click(main, "Command25");
        QTest::mouseClick(&map(), Qt::LeftButton, {}, at);
    }
    QString title() { return main.panel().box(3).toPlainText(); }
};

} // namespace

class VgaTest : public QObject {
    Q_OBJECT
private slots:
    void theButtonAsksForASpacingAndAClickAndShowsIntegrationInColouredCells();
    void theDesktopWritesThePointsTheBatchToolWritesForThePicture();
    void drawnLinesAreNoWallsAndAClickInAWallIsRefusedUntilOneInTheOpen();
    void wrongSpacingsAreAskedAgainAndCancellingEndsQuietly();
    void withoutAPlanTheUserIsTold();
    void theWindowAndTheButtonAreReadableByAScreenReader();
};

void VgaTest::theButtonAsksForASpacingAndAClickAndShowsIntegrationInColouredCells() {
    Session session;
    QVERIFY(session.main.command(25).isEnabled());
    session.dialogs.answerInput("6");
    Click(session.main, "Command25");
    const DialogCall& ask = session.dialogs.calls().back();
    QCOMPARE(ask.kind, DialogCall::Kind::Input);
    QCOMPARE(ask.title, QString("Grid Spacing for the Visibility Graph"));
    QCOMPARE(ask.text, kPrompt);
    QCOMPARE(session.title(),
             QString("Click in the Open Space of the Plan Where the Grid Should Start"));
    QVERIFY(!session.window().isVisible());
    QTest::mouseClick(&session.map(), Qt::LeftButton, {}, kInside);

    VgaResultsWindow& window = session.window();
    QVERIFY(window.isVisible());
    QCOMPARE(
        session.title(),
        QString("In the New Window, We Show the Visual Integration of Each Point of the Grid."));
    QCOMPARE(window.measures().currentText(), QString("visual_integration_hh"));
    QVERIFY(window.legend().text().startsWith("visual_integration_hh from "));
    QVERIFY(window.measures().count() > 20);
    QVERIFY2(session.state().AxialLines.empty(), "the click drew no line");

    // Each point's cell in one of the 13 colours, grey where a point sees every other and so has
    // no integration; the walls, which cells of 6 pixels overlap, stay dark; the colours change
    // with the measure.
    const QImage& image = window.surface().image();
    QCOMPARE(image.size(), QSize(100, 80));
    const auto isScaleColour = [](QColor colour) {
        for (int step = 1; step <= display::kColourScaleEntries; ++step) {
            const display::Rgb rgb = display::colourForStep(step);
            if (colour == QColor(rgb.red, rgb.green, rgb.blue))
                return true;
        }
        return false;
    };
    QVERIFY(isScaleColour(image.pixelColor(20, 20)));
    QCOMPARE(image.pixelColor(kInside), kNoValueGrey);
    const QImage plan = LPlan();
    int wallsCovered = 0;
    for (int y = 0; y < plan.height(); ++y)
        for (int x = 0; x < plan.width(); ++x)
            wallsCovered += plan.pixelColor(x, y) != image.pixelColor(x, y) &&
                            plan.pixelColor(x, y) != Qt::white;
    QCOMPARE(wallsCovered, 0);
    const QImage before = image.copy();
    window.measures().setCurrentText("isovist_area");
    QVERIFY(window.legend().text().startsWith("isovist_area from "));
    QVERIFY(window.surface().image() != before);
    QVERIFY(isScaleColour(window.surface().image().pixelColor(kInside)));
}

void VgaTest::theDesktopWritesThePointsTheBatchToolWritesForThePicture() {
    Session session;
    QCOMPARE(session.map().image().size(), QSize(100, 80));
    session.analyse("5");
    const QString saved = session.folder.filePath("desktop.csv");
    session.dialogs.answerFile(saved);
    Trigger(session.window(), "mnuPoints");
    QFile desktop(saved);
    QVERIFY(desktop.open(QIODevice::ReadOnly));

    // The click at pixel position (20, 60) is the point (19.5, 80 - 60 - 0.5) of the picture
    // placed at a pixel a unit.
    const std::string plan = session.planPath.toStdString();
    const std::string out = session.folder.filePath("batch").toStdString();
    const std::vector<std::string_view> words = {
        plan,        "--pixel-size", "1",         "--spacing", "5", "--fill",
        "19.5,19.5", "--origin",     "19.5,19.5", "--out",     out};
    const cli::ParsedVgaArguments parsed = cli::ParseVgaArguments(words, 2);
    QCOMPARE(QString::fromStdString(parsed.error), QString());
    std::ostringstream log;
    cli::StageLog stages(log, {true, false, false});
    QVERIFY(!cli::RunVgaCommand(parsed.options, stages));
    QFile batch(QString::fromStdString(out) + "/vga_points.csv");
    QVERIFY(batch.open(QIODevice::ReadOnly));
    const QByteArray desktopCsv = desktop.readAll();
    QVERIFY(desktopCsv.count('\n') > 100);
    QCOMPARE(desktopCsv, batch.readAll());
}

void VgaTest::drawnLinesAreNoWallsAndAClickInAWallIsRefusedUntilOneInTheOpen() {
    Session session;
    session.analyse("5");
    const auto cells = [&session] { return session.window().surface().image().copy(); };
    const QImage withoutLines = cells();

    // A line drawn across the open floor, then a click in the dark block, then one in the open.
    Click(session.main, "Command17");
    Drag(session.map(), {10, 50}, {90, 50});
    QCOMPARE(session.state().AxialLines.size(), std::size_t{1});
    session.analyse("5", {70, 20});
    QCOMPARE(session.dialogs.messageTexts().back(),
             QString("The Point You Clicked is in a Wall of the Plan (a Dark Pixel) - Click in "
                     "the Open Space"));
    QTest::mouseClick(&session.map(), Qt::LeftButton, {}, kInside);
    // The clicks drew no line.
    QCOMPARE(session.state().AxialLines.size(), std::size_t{1});
    QCOMPARE(cells(), withoutLines);

    // After the analysis the map draws lines again.
    Drag(session.map(), {10, 65}, {90, 65});
    QCOMPARE(session.state().AxialLines.size(), std::size_t{2});
}

void VgaTest::wrongSpacingsAreAskedAgainAndCancellingEndsQuietly() {
    Session session;
    session.dialogs.answerInput("abc");
    session.dialogs.answerMessage(MessageAnswer::Yes);
    session.dialogs.answerInput("0");
    session.dialogs.answerMessage(MessageAnswer::No);
    session.dialogs.answerInput(std::nullopt);
    Click(session.main, "Command25");
    QVERIFY(session.dialogs.allAnswersUsed());
    QCOMPARE(session.dialogs.messageTexts().count("You Typed in an Incorrect Number/Value"), 2);
    QTest::mouseClick(&session.map(), Qt::LeftButton, {}, kInside);
    QVERIFY(!session.window().isVisible());
    QVERIFY(session.dialogs.unexpected().isEmpty());

    // An empty answer takes the spacing the prompt offers.
    session.analyse("");
    QVERIFY(session.window().isVisible());
    QCOMPARE(session.window().shown()->result.grid.spacing(), 2.0);
}

void VgaTest::withoutAPlanTheUserIsTold() {
    MainWindowSession session;
    Click(session.main, "Command25");
    QCOMPARE(session.dialogs.messageTexts(),
             QStringList{"Visibility Graph Analysis Needs a Plan - Open One in the Map Window "
                         "First (File, Open)"});
    QVERIFY(session.dialogs.unexpected().isEmpty());
}

void VgaTest::theWindowAndTheButtonAreReadableByAScreenReader() {
    Session session;
    session.analyse("5");
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(&session.main.command(25));
    QVERIFY(button);
    QCOMPARE(button->role(), QAccessible::Button);
    QCOMPARE(button->text(QAccessible::Name), QString("Visibility Graph Analysis"));
    QCOMPARE(session.main.command(25).toolTip(), QString("Computes the Isovist Fields"));

    VgaResultsWindow& window = session.window();
    QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(&window);
    QVERIFY(announced);
    QCOMPARE(announced->role(), QAccessible::Window);
    QCOMPARE(announced->text(QAccessible::Name), QString("Visibility Graph Analysis"));
    QAccessibleInterface* measures = QAccessible::queryAccessibleInterface(&window.measures());
    QVERIFY(measures);
    QCOMPARE(measures->role(), QAccessible::ComboBox);
    QCOMPARE(measures->text(QAccessible::Value), QString("visual_integration_hh"));
    // Screen readers on Linux read a combo box's name from the label it is labelled by.
    const auto labels = measures->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.front().first->role(), QAccessible::StaticText);
    QCOMPARE(labels.front().first->text(QAccessible::Name), QString("Measure: "));
    QAccessibleInterface* legend = QAccessible::queryAccessibleInterface(&window.legend());
    QVERIFY(legend);
    QCOMPARE(legend->text(QAccessible::Name), QString("Value Range"));
    QAccessibleInterface* map = QAccessible::queryAccessibleInterface(&window.surface());
    QVERIFY(map);
    QCOMPARE(map->text(QAccessible::Name), QString("Visibility Graph Map"));
    for (const char* item : {"mnuMap", "mnuPoints", "mnuMapWindow", "mnuCopy"})
        QVERIFY2(!window.action(item).text().isEmpty(), item);
}

QTEST_MAIN(VgaTest)
#include "test_vga.moc"

// The numbered maps of the View menu: their windows, red lines and dots, white numbers, and the
// About texts.
#include "gui/app/main_window.h"
#include "gui/app/text_window.h"
#include "gui/app/workspace.h"
#include "gui/display/numbered_map_window.h"
#include "gui/host/twips.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QPlainTextEdit>
#include <QRect>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

// Line 1 along y = 100 px from x = 100, line 2 down x = 260 px from y = 60, crossing at
// (260, 100) px.
void SetCross(ProjectState& state) {
    state.AxialLines = {{1500, 1500, 4500, 1500}, {3900, 900, 3900, 4950}};
    state.Junctions = {{1, 2, 3900, 1500}};
}

// Text is smoothed, so its pixels are light greys as well as white.
int WhitePixelsIn(const PictureSurface& surface, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = surface.image().pixelColor(x, y);
            count += pixel.red() > 160 && pixel.green() > 160 && pixel.blue() > 160;
        }
    }
    return count;
}

// Where a number printed at `point` lies: below and to the right of it.
QRect NumberAt(QPoint point) {
    return {point, QSize(16, 20)};
}

bool AllBlack(const PictureSurface& surface) {
    QImage black(surface.image().size(), surface.image().format());
    black.fill(kBlack);
    return surface.image() == black;
}

} // namespace

class NumberedMapTest : public QObject {
    Q_OBJECT
private slots:
    void theNumberedAxialMapOpensAtTheMapWindowsSize();
    void eachLineIsRedWithItsNumberInWhiteOnARedDotAtItsStart();
    void eachJunctionIsNumberedInWhiteOnARedDotOverTheRedLines();
    void withNoLinesTheWindowOpensEmpty();
    void aShorterMapLeavesNothingOfTheEarlierOne();
    void theHiddenButtonsShowTheSameMaps();
    void aboutTheMapExplainsPrintingInBothWindows();
};

void NumberedMapTest::theNumberedAxialMapOpensAtTheMapWindowsSize() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    main.mapWindow().resizeUnits(6000, 4500);
    NumberedMapWindow& window = main.workspace().numberedAxialMap;

    Trigger(main, "mnuAxials");

    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QString("Each Axial Line is Numbered in the Order Digitised"));
    QCOMPARE(window.surface().widthUnits(), 6000.0);
    QCOMPARE(window.surface().heightUnits(), 4500.0);
    QCOMPARE(window.width(), TwipsToPixels(6000 + 350));
    QCOMPARE(window.height(), TwipsToPixels(4500 + 1000));

    main.mapWindow().resizeUnits(7500, 6000);
    Trigger(main, "mnuJunctionMap");

    NumberedMapWindow& junctions = main.workspace().numberedJunctionMap;
    QVERIFY(junctions.isVisible());
    QCOMPARE(junctions.windowTitle(), QString("Each Junction is Numbered in the Order Computed"));
    QCOMPARE(junctions.surface().widthUnits(), 7500.0);
    QCOMPARE(junctions.surface().heightUnits(), 6000.0);
    QVERIFY(dialogs.calls().empty());
}

void NumberedMapTest::eachLineIsRedWithItsNumberInWhiteOnARedDotAtItsStart() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetCross(main.state());

    Trigger(main, "mnuAxials");

    const PictureSurface& surface = main.workspace().numberedAxialMap.surface();
    QCOMPARE(surface.image().pixelColor(200, 100), kRed);
    QCOMPARE(surface.image().pixelColor(260, 200), kRed);
    // Dots of radius 40 units (2.7 px) round the start points, reaching where no line goes.
    QCOMPARE(surface.image().pixelColor(98, 100), kRed);
    QCOMPARE(surface.image().pixelColor(100, 98), kRed);
    QCOMPARE(surface.image().pixelColor(260, 58), kRed);
    QCOMPARE(surface.image().pixelColor(96, 100), kBlack);
    QVERIFY(WhitePixelsIn(surface, NumberAt({100, 100})) > 4);
    QVERIFY(WhitePixelsIn(surface, NumberAt({260, 60})) > 4);
    // Nothing is numbered at the far ends.
    QCOMPARE(WhitePixelsIn(surface, NumberAt({301, 101})), 0);
    QCOMPARE(WhitePixelsIn(surface, {QPoint(262, 200), QSize(20, 20)}), 0);
}

void NumberedMapTest::eachJunctionIsNumberedInWhiteOnARedDotOverTheRedLines() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetCross(main.state());

    Trigger(main, "mnuJunctionMap");

    const PictureSurface& surface = main.workspace().numberedJunctionMap.surface();
    QCOMPARE(surface.image().pixelColor(200, 100), kRed);
    QCOMPARE(surface.image().pixelColor(260, 200), kRed);
    QCOMPARE(surface.image().pixelColor(258, 99), kRed);
    QVERIFY(WhitePixelsIn(surface, NumberAt({260, 100})) > 4);
    // The lines' start points carry no numbers here.
    QCOMPARE(WhitePixelsIn(surface, NumberAt({100, 100})), 0);
    QCOMPARE(surface.image().pixelColor(98, 100), kBlack);
}

void NumberedMapTest::withNoLinesTheWindowOpensEmpty() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);

    Trigger(main, "mnuAxials");
    Trigger(main, "mnuJunctionMap");

    for (NumberedMapWindow* window :
         {&main.workspace().numberedAxialMap, &main.workspace().numberedJunctionMap}) {
        QVERIFY(window->isVisible());
        QCOMPARE(window->surface().widthUnits(), main.mapWindow().widthUnits());
        QCOMPARE(window->surface().heightUnits(), main.mapWindow().heightUnits());
        QVERIFY(AllBlack(window->surface()));
    }
    QVERIFY(dialogs.calls().empty());
}

void NumberedMapTest::aShorterMapLeavesNothingOfTheEarlierOne() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetCross(main.state());
    Trigger(main, "mnuAxials");

    main.state().AxialLines.pop_back();
    Trigger(main, "mnuAxials");

    const PictureSurface& surface = main.workspace().numberedAxialMap.surface();
    QCOMPARE(surface.image().pixelColor(260, 200), kBlack);
    QCOMPARE(WhitePixelsIn(surface, NumberAt({260, 60})), 0);
    QCOMPARE(surface.image().pixelColor(200, 100), kRed);
}

void NumberedMapTest::theHiddenButtonsShowTheSameMaps() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetCross(main.state());
    Trigger(main, "mnuAxials");
    Trigger(main, "mnuJunctionMap");
    const QImage axial = main.workspace().numberedAxialMap.surface().image();
    const QImage junction = main.workspace().numberedJunctionMap.surface().image();
    main.workspace().numberedAxialMap.surface().clear();
    main.workspace().numberedJunctionMap.surface().clear();

    Click(main, "Command19");
    Click(main, "Command20");

    QCOMPARE(main.workspace().numberedAxialMap.surface().image(), axial);
    QCOMPARE(main.workspace().numberedJunctionMap.surface().image(), junction);
}

void NumberedMapTest::aboutTheMapExplainsPrintingInBothWindows() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    TextWindow& text = main.workspace().textWindow;

    Trigger(main.workspace().numberedAxialMap, "mnuTheMap");

    QVERIFY(text.isVisible());
    QCOMPARE(text.windowTitle(), QString("About Printing the Axial Map"));
    QVERIFY(text.box(1).toPlainText().startsWith(
        "Whether you can actually obtain a decent printout of this axial map"));
    QCOMPARE(text.box(2).toPlainText(),
             QString("In future versions of this program, we will resolve this printing problem "
                     "for large maps but it requires some fancy programming that is hard to do."));
    QVERIFY(text.box(3).toPlainText().endsWith("sketch the axial map before you begin."));
    QCOMPARE(text.box(4).toPlainText(),
             QString("You could even digitize line by line and print from this screen as you go "
                     "along."));

    Trigger(main.workspace().numberedJunctionMap, "mnuTheMap");

    QCOMPARE(text.windowTitle(), QString("About Printing the Axial Map"));
    QVERIFY(text.box(1).toPlainText().contains("you will be able to indentify the numbers if you "
                                               "have more than 30 or so junctions"));
    QVERIFY(text.box(3).toPlainText().endsWith(
        "what order the junctions occur in as they follow the digitization of the lines."));
    QCOMPARE(text.box(4).toPlainText(),
             QString("You could even digitize line by line, print from this screen and identify "
                     "junctions as you go along."));
    QVERIFY(dialogs.calls().empty());
}

QTEST_MAIN(NumberedMapTest)
#include "test_numbered_maps.moc"

// Statistics in the text window: of the drawn map from the main window, of the graphs from the
// results windows.
#include "gui/app/main_window.h"
#include "gui/app/text_window.h"
#include "gui/app/workspace.h"
#include "gui/display/results_window.h"
#include "support/analysed_maps.h"
#include "support/gui_test_support.h"
#include "support/scripted_dialogs.h"

#include <QPlainTextEdit>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

// Four lines in a chain: three junctions, the first two on line 2 and the last two on line 3.
void SetChainOfFour(ProjectState& state) {
    SetAnalysedMap(state,
                   {{1500, 1500, 4500, 1500},
                    {3900, 1000, 3900, 5000},
                    {2700, 4500, 6900, 4500},
                    {6000, 4000, 6000, 6500}},
                   {{1, 2, 3900, 1500}, {2, 3, 3900, 4500}, {3, 4, 6000, 4500}});
}

// Where a map point lands on the inset, in pixels.
QPoint InsetPixel(const ProjectState& state, float x, float y) {
    return {static_cast<int>(x * state.InsetScaleX / 15),
            static_cast<int>(y * state.InsetScaleY / 15)};
}

int RedPixels(const QImage& image) {
    int found = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            found += image.pixelColor(x, y) == QColor(255, 0, 0);
    return found;
}

} // namespace

class StatisticsOperationsTest : public QObject {
    Q_OBJECT
private slots:
    void mapStatisticsWaitForTheIntersections();
    void mapStatisticsFillFourTextsAndMarkTheJunctionsOnTheInset();
    void graphStatisticsDescribeEachGraph();
    void graphStatisticsBeforeTheAnalysisSayWhichAnalysisToRun();
};

void StatisticsOperationsTest::mapStatisticsWaitForTheIntersections() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFour(main.state());
    main.state().IntersectionsComputed = false;
    TextWindow& window = main.workspace().textWindow;

    Trigger(main, "mnuAxialMap");

    QVERIFY(window.isVisible());
    QCOMPARE(window.box(1).toPlainText(),
             QString("You need to compute the line intersections before you can generate "
                     "statistics"));
    QVERIFY(!window.box(1).isHidden());
    for (int number : {2, 3, 4})
        QVERIFY(window.box(number).isHidden());
    QCOMPARE(RedPixels(main.insetWindow().image()), 0);
    QVERIFY(dialogs.calls().empty());
}

void StatisticsOperationsTest::mapStatisticsFillFourTextsAndMarkTheJunctionsOnTheInset() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFour(main.state());
    main.state().IntersectionsComputed = false;
    TextWindow& window = main.workspace().textWindow;
    Trigger(main, "mnuAxialMap");
    main.state().IntersectionsComputed = true;

    Click(main, "Command18");

    QCOMPARE(window.windowTitle(), QString("Statistics of the Axial Map"));
    QVERIFY(window.box(1).toPlainText().startsWith(
        "The axial map you have drawn has  4 lines and 3 junctions. This gives a ratio of 1.33 "
        "lines to junctions."));
    QCOMPARE(window.box(2).toPlainText(),
             QString("You can get an idea of this density in the snapshot of axial lines on the "
                     "black inset screen where the lines are in white and the junctions are in "
                     "red"));
    QVERIFY(window.box(3).toPlainText().startsWith("The total distance of all the lines drawn is "
                                                   "13700 where"));
    for (int number : {1, 2, 3, 4})
        QVERIFY(!window.box(number).isHidden());

    const ProjectState& state = main.state();
    const QImage& inset = main.insetWindow().image();
    for (const Junction& junction : state.Junctions) {
        const QPoint at = InsetPixel(state, junction.x, junction.y);
        QCOMPARE(inset.pixelColor(at), QColor(255, 0, 0));
    }
    // Radius 60 units on the map, scaled down: a dot a few pixels across.
    QVERIFY(RedPixels(inset) < 3 * 30);
}

void StatisticsOperationsTest::graphStatisticsDescribeEachGraph() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetAnalysedMap(main.state(),
                   {{1500, 1500, 4500, 1500}, {3900, 1000, 3900, 5000}, {2700, 4500, 6900, 4500}},
                   {{1, 2, 3900, 1500}, {2, 3, 3900, 4500}});
    TextWindow& window = main.workspace().textWindow;

    Trigger(main.workspace().axialResults, "mnuAxGraph");
    QCOMPARE(window.windowTitle(), QString("Statistics of the Axial Graph"));
    QVERIFY(window.box(1).toPlainText().startsWith(
        "The axial graph associated with the axial map has  2 arcs and 3 nodes. This gives a "
        "ratio of .67 arcs to nodes."));
    QVERIFY(window.box(3).toPlainText().contains("based on the original binary matrix is 1.33. "));

    // Four lines in a chain make a chain of three junctions.
    SetChainOfFour(main.state());
    Trigger(main.workspace().junctionResults, "mnuJGraph");
    QCOMPARE(window.windowTitle(), QString("Statistics of the Axial Graph"));
    QVERIFY(window.box(1).toPlainText().startsWith(
        "The junction graph associated with the axial map has  2 arcs and 3 nodes."));
    QVERIFY(window.box(3).toPlainText().contains("between the junctions on each axial line is "));
    QCOMPARE(window.box(4).toPlainText(),
             QString("In future versions of this program, we will extract statistical "
                     "properties of these graphs."));
    QVERIFY(dialogs.calls().empty());
}

void StatisticsOperationsTest::graphStatisticsBeforeTheAnalysisSayWhichAnalysisToRun() {
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    SetChainOfFour(main.state());
    main.state().LineDepth = {};
    main.state().JunctionDepth = {};

    Click(main, "Command33");
    Click(main, "Command34");

    QCOMPARE(dialogs.calls().size(), std::size_t(2));
    QVERIFY(dialogs.calls()[0].text.startsWith("Run the Axial Line Analysis first"));
    QVERIFY(dialogs.calls()[1].text.startsWith("Run the Junction Analysis first"));
    QVERIFY(!main.workspace().textWindow.isVisible());
}

QTEST_MAIN(StatisticsOperationsTest)
#include "test_statistics_operations.moc"

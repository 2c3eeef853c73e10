// Drawing axial lines: zoom, pen colour and width, fixing the scale, and digitising with the
// pointer on the map window.
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "support/gui_test_support.h"
#include "support/main_window_session.h"
#include "support/scripted_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

const QString kWarningTitle = "Data Input Warning";
const QString kLine101Text =
    "You have 101 Axial Lines - You 'May' Be Approaching More Than 500 Intersections ";
const QString kLine501Text = "More Than 500 Axial Lines - You Must Start Again or Remove Lines ";

// A plan of coloured stripes, so that any stray inverted pixel shows.
QImage StripedPlan(QSize size) {
    QImage plan(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            plan.setPixelColor(x, y, QColor((x * 7) % 256, (y * 5) % 256, ((x + y) * 3) % 256));
    return plan;
}

// The main window on screen, as the user sees it after start-up.
struct Session : MainWindowSession {
    // The plan as if it had been opened: stored, and a new project started on it.
    void showPlan(const QImage& plan) {
        main.storedPlan() = plan;
        Click(main, "Command5");
    }
    void fix() { Click(main, "Command17"); }
};

AxialLine PixelLine(int x1, int y1, int x2, int y2) {
    return {Units(x1), Units(y1), Units(x2), Units(y2)};
}

QString PanelText(MainWindow& main, int box) {
    return main.panel().box(box).toPlainText();
}

// The inset mirrors a map point; it is white within a pixel of where the scales put it.
bool InsetIsWhiteAt(MainWindow& main, int mapX, int mapY) {
    const ProjectState& state = main.state();
    const QImage& inset = main.insetWindow().image();
    const int x = qRound(state.InsetScaleX * Units(mapX) / 15);
    const int y = qRound(state.InsetScaleY * Units(mapY) / 15);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (inset.valid(x + dx, y + dy) && inset.pixelColor(x + dx, y + dy) == Qt::white)
                return true;
    return false;
}

} // namespace

class DrawingTest : public QObject {
    Q_OBJECT
private slots:
    void pointerEventsBeforeFixChangeNothing();
    void fixHidesTheScaleControlsAndEnablesDrawing();
    void aDragStoresTheStartAndTheLastPointMovedTo();
    void aClickWithoutMovementStoresAZeroLengthLine();
    void theRubberBandLeavesEveryPixelOfThePlanAsItWas();
    void theLineIsDrawnInThePenColourAndWidthAndMirroredWhiteOnTheInset();
    void theScrollBarShowsItsValueAtOnceButDrawnLinesKeepTheirWidth();
    void startingALineMarksTheJunctionsOutOfDate();
    void aSecondButtonDuringADragLeavesNoStrayBand();
    void the101stLineWarnsOnceAndThe501stIsRefused();
    void zoomOutThenInReturnsTheFactorsToOne();
    void zoomRepaintsTheStoredPlanNotTheScreenImage();
    void theMapScrollsWithinItsAreaAndThePanelStays();
    void everyPanelTextFitsItsBoxOnA1024By768Screen();
    void zoomingOutStopsBeforeTheMapIsTooLargeToHold();
    void aCancelledColourDialogSetsTheColourLastChosenInIt();
    void linesDrawnAfterAZoomAreInZoomedCoordinates();
};

void DrawingTest::pointerEventsBeforeFixChangeNothing() {
    Session session;
    session.showPlan(StripedPlan({200, 150}));
    const QImage before = session.map().image();
    const QString title = PanelText(session.main, 3);

    Drag(session.map(), {10, 10}, {{40, 50}, {60, 70}}, {60, 70});
    QTest::mouseClick(&session.map(), Qt::LeftButton, Qt::NoModifier, {30, 30});

    QCOMPARE(session.state().LineCount(), 0);
    QCOMPARE(session.map().image(), before);
    QCOMPARE(PanelText(session.main, 3), title);
    QCOMPARE(session.main.box(1).text(), QString());
    QVERIFY(!session.state().RubberBandActive);
    QVERIFY(session.dialogs.calls().empty());
}

void DrawingTest::fixHidesTheScaleControlsAndEnablesDrawing() {
    Session session;
    MainWindow& main = session.main;
    session.map().setDrawWidth(4);
    session.state().IntersectionsComputed = true;
    session.fix();

    for (int number : {15, 16, 17, 30})
        QVERIFY(!main.command(number).isVisible());
    QVERIFY(!main.label(5).isVisible());
    QVERIFY(!main.box(11).isVisible());
    QVERIFY(!main.widthScrollBar().isVisible());
    QVERIFY(session.state().DrawingEnabled);
    QVERIFY(!session.state().IntersectionsComputed);
    QCOMPARE(session.map().drawWidth(), 1);
    QCOMPARE(PanelText(main, 3),
             QString("To Begin, Start Drawing the Axial Map in the Map Window, Using the Mouse"));
    QCOMPARE(main.panel().box(3).font().pointSize(), 12);
    QCOMPARE(PanelText(main, 4), QString("IMPORTANT ADVICE TO USERS"));
    QCOMPARE(PanelText(main, 6),
             QString("In short, the accessibilities of the primal and its dual "));
    QCOMPARE(main.label(2).text(), QString("Window Shows a Scaled Down Axial Map"));
}

void DrawingTest::aDragStoresTheStartAndTheLastPointMovedTo() {
    Session session;
    session.fix();
    Drag(session.map(), {10, 20}, {{30, 40}, {50, 60}}, {90, 95});

    QCOMPARE(session.state().LineCount(), 1);
    QCOMPARE(session.state().AxialLines[0], PixelLine(10, 20, 50, 60));
    QCOMPARE(session.main.box(1).text(), QString("1"));
    QVERIFY(!session.state().RubberBandActive);
    QCOMPARE(PanelText(session.main, 3),
             QString("This is the Map Window Where You Draw Axial Lines Using the Mouse."));
    QCOMPARE(PanelText(session.main, 5),
             QString("If you can't draw clear lines on your image, then change its thickness or "
                     "its colour by returning to the original image."));
    QCOMPARE(session.main.panel().box(5).font().pointSize(), 10);
    QCOMPARE(PanelText(session.main, 6), QString("To do this, you must Clear and Reload"));
    QCOMPARE(PanelText(session.main, 7), QString());

    Drag(session.map(), {100, 110}, {120, 130});
    QCOMPARE(session.state().LineCount(), 2);
    QCOMPARE(session.state().AxialLines[1], PixelLine(100, 110, 120, 130));
    QCOMPARE(session.main.box(1).text(), QString("2"));
}

void DrawingTest::aClickWithoutMovementStoresAZeroLengthLine() {
    Session session;
    session.fix();
    Drag(session.map(), {25, 35}, {}, {25, 35});
    QCOMPARE(session.state().LineCount(), 1);
    QCOMPARE(session.state().AxialLines[0], PixelLine(25, 35, 25, 35));
    QCOMPARE(session.map().image().pixelColor(25, 35), QColor(Qt::black));

    // A double-click reaches a widget as press, release, double-click, release; the double-click
    // is not a line of its own.
    PictureSurface& map = session.map();
    QTest::mousePress(&map, Qt::LeftButton, Qt::NoModifier, {60, 70});
    QTest::mouseRelease(&map, Qt::LeftButton, Qt::NoModifier, {60, 70});
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(60, 70),
                            map.mapToGlobal(QPointF(60, 70)), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
    QApplication::sendEvent(&map, &doubleClick);
    QTest::mouseRelease(&map, Qt::LeftButton, Qt::NoModifier, {60, 70});
    QCOMPARE(session.state().LineCount(), 2);
}

void DrawingTest::theRubberBandLeavesEveryPixelOfThePlanAsItWas() {
    for (int width : {1, 3}) {
        Session session;
        const QImage plan = StripedPlan({300, 200});
        session.showPlan(plan);
        session.main.widthScrollBar().setValue(width);
        session.fix();
        // An earlier line sets the pen width the rubber band is drawn with.
        Drag(session.map(), {5, 190}, {5, 150});

        const QImage withFirstLine = session.map().image();
        PictureSurface& map = session.map();
        QTest::mousePress(&map, Qt::LeftButton, Qt::NoModifier, {20, 30});
        for (QPoint to : {QPoint(200, 40), QPoint(180, 170), QPoint(40, 160), QPoint(120, 90)}) {
            QTest::mouseMove(&map, to);
            QVERIFY(map.image() != withFirstLine);
        }
        QTest::mouseMove(&map, {20, 30});
        QTest::mouseMove(&map, {150, 100});
        QTest::mouseRelease(&map, Qt::LeftButton, Qt::NoModifier, {150, 100});

        // The plan with only the two finished lines, drawn directly.
        PictureSurface expected;
        expected.setImage(plan);
        expected.setDrawWidth(width);
        expected.line(Units(5), Units(190), Units(5), Units(150));
        expected.line(Units(20), Units(30), Units(150), Units(100));
        QCOMPARE(map.image(), expected.image());
    }
}

void DrawingTest::theLineIsDrawnInThePenColourAndWidthAndMirroredWhiteOnTheInset() {
    Session session;
    session.dialogs.answerColour(QColor(255, 0, 0));
    Click(session.main, "Command30");
    session.main.widthScrollBar().setValue(5);
    session.fix();
    Drag(session.map(), {20, 100}, {{100, 100}, {300, 100}}, {300, 300});

    const QImage& image = session.map().image();
    QCOMPARE(image.pixelColor(150, 100), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(150, 102), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(150, 98), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(150, 106), QColor(Qt::white));
    QCOMPARE(image.pixelColor(150, 200), QColor(Qt::white));
    QCOMPARE(session.map().drawWidth(), 5);

    // The inset is 3300 by 2475 units beside a map of 9000 by 6750.
    const ProjectState& state = session.state();
    QCOMPARE(state.InsetScaleX, static_cast<float>(3300.0 / 9000.0));
    QVERIFY(InsetIsWhiteAt(session.main, 150, 100));
    QVERIFY(InsetIsWhiteAt(session.main, 290, 100));
    QVERIFY(!InsetIsWhiteAt(session.main, 150, 115));
    QVERIFY(!InsetIsWhiteAt(session.main, 310, 100));
}

void DrawingTest::theScrollBarShowsItsValueAtOnceButDrawnLinesKeepTheirWidth() {
    Session session;
    QScrollBar& scrollBar = session.main.widthScrollBar();
    scrollBar.setValue(3);
    QCOMPARE(session.main.box(11).text(), QString("3"));
    scrollBar.setValue(7);
    QCOMPARE(session.main.box(11).text(), QString("7"));
    scrollBar.setValue(1);
    session.fix();
    Drag(session.map(), {10, 50}, {200, 50});
    const QImage before = session.map().image();

    scrollBar.setValue(9);
    QCOMPARE(session.main.box(11).text(), QString("9"));
    QCOMPARE(session.map().image(), before);
    Drag(session.map(), {10, 150}, {200, 150});
    QCOMPARE(session.map().image().pixelColor(100, 154), QColor(Qt::black));
    QCOMPARE(session.map().image().pixelColor(100, 52), QColor(Qt::white));
}

void DrawingTest::startingALineMarksTheJunctionsOutOfDate() {
    Session session;
    session.fix();
    session.state().IntersectionsComputed = true;
    QTest::mousePress(&session.map(), Qt::LeftButton, Qt::NoModifier, {10, 10});
    QVERIFY(!session.state().IntersectionsComputed);
    QVERIFY(session.state().RubberBandActive);
    QTest::mouseRelease(&session.map(), Qt::LeftButton, Qt::NoModifier, {10, 10});
}

void DrawingTest::aSecondButtonDuringADragLeavesNoStrayBand() {
    Session session;
    const QImage plan = StripedPlan({200, 150});
    session.showPlan(plan);
    session.fix();
    PictureSurface& map = session.map();
    QTest::mousePress(&map, Qt::LeftButton, Qt::NoModifier, {10, 10});
    QTest::mouseMove(&map, {100, 20});
    QTest::mousePress(&map, Qt::RightButton, Qt::NoModifier, {100, 20});
    QTest::mouseMove(&map, {120, 80});
    QTest::mouseRelease(&map, Qt::LeftButton, Qt::NoModifier, {120, 80});
    QTest::mouseRelease(&map, Qt::RightButton, Qt::NoModifier, {120, 80});

    QCOMPARE(session.state().LineCount(), 1);
    QCOMPARE(session.state().AxialLines[0], PixelLine(10, 10, 120, 80));
    PictureSurface expected;
    expected.setImage(plan);
    expected.line(Units(10), Units(10), Units(120), Units(80));
    QCOMPARE(map.image(), expected.image());
}

void DrawingTest::the101stLineWarnsOnceAndThe501stIsRefused() {
    Session session;
    session.fix();
    PictureSurface& map = session.map();
    const auto drawLine = [&](int number) {
        const int y = 1 + number % 400;
        Drag(map, {10, y}, {{50, y}}, {80, y});
    };
    for (int number = 1; number <= 100; ++number)
        drawLine(number);
    QVERIFY(session.dialogs.calls().empty());

    drawLine(101);
    QCOMPARE(session.dialogs.calls().size(), size_t(1));
    const DialogCall& warning = session.dialogs.calls().front();
    QCOMPARE(warning.kind, DialogCall::Kind::Message);
    QCOMPARE(warning.text, kLine101Text);
    QCOMPARE(warning.title, kWarningTitle);
    QCOMPARE(warning.icon, MessageIcon::Question);
    QCOMPARE(warning.buttons, MessageButtons::Ok);
    QCOMPARE(session.state().LineCount(), 101);
    QCOMPARE(session.main.box(1).text(), QString("101"));

    for (int number = 102; number <= 500; ++number)
        drawLine(number);
    QCOMPARE(session.dialogs.calls().size(), size_t(1));
    QCOMPARE(session.state().LineCount(), 500);
    QCOMPARE(session.main.box(1).text(), QString("500"));

    session.state().IntersectionsComputed = true;
    Drag(map, {300, 420}, {{350, 420}}, {380, 420});
    QCOMPARE(session.dialogs.calls().size(), size_t(2));
    const DialogCall& refusal = session.dialogs.calls().back();
    QCOMPARE(refusal.text, kLine501Text);
    QCOMPARE(refusal.title, kWarningTitle);
    QCOMPARE(refusal.icon, MessageIcon::Question);
    QCOMPARE(refusal.buttons, MessageButtons::Ok);
    QCOMPARE(session.state().LineCount(), 500);
    QCOMPARE(session.main.box(1).text(), QString("500"));
    QVERIFY(!session.state().IntersectionsComputed);
    // The refused line stays visible on both windows.
    QCOMPARE(map.image().pixelColor(320, 420), QColor(Qt::black));
    QVERIFY(InsetIsWhiteAt(session.main, 320, 420));

    Drag(map, {300, 430}, {350, 430});
    QCOMPARE(session.dialogs.calls().size(), size_t(3));
    QCOMPARE(session.state().LineCount(), 500);
    QVERIFY(session.dialogs.unexpected().isEmpty());
}

void DrawingTest::zoomOutThenInReturnsTheFactorsToOne() {
    Session session;
    Click(session.main, "Command15");
    QCOMPARE(session.state().ZoomFactorX, 1.1f);
    QCOMPARE(session.state().ZoomFactorY, 1.1f);
    QCOMPARE(session.map().image().size(), QSize(660, 495));
    Click(session.main, "Command16");
    QCOMPARE(session.state().ZoomFactorX, 1.0f);
    QCOMPARE(session.state().ZoomFactorY, 1.0f);
    QCOMPARE(session.map().image().size(), QSize(600, 450));

    for (int click = 0; click < 5; ++click)
        Click(session.main, "Command16");
    for (int click = 0; click < 5; ++click)
        Click(session.main, "Command15");
    QVERIFY(qAbs(session.state().ZoomFactorX - 1.0f) < 1e-6f);
    QCOMPARE(session.state().MapWidth, 9000.0f);
    QCOMPARE(session.map().image().size(), QSize(600, 450));
}

void DrawingTest::zoomRepaintsTheStoredPlanNotTheScreenImage() {
    Session session;
    const QImage plan = StripedPlan({200, 150});
    session.showPlan(plan);
    // Anything on screen but not in the stored plan is gone after a zoom.
    session.map().line(0, 0, Units(199), Units(149), Qt::red);
    Click(session.main, "Command15");
    QCOMPARE(session.map().image().size(), QSize(220, 165));
    Click(session.main, "Command16");
    QCOMPARE(session.map().image(), plan);
}

void DrawingTest::theMapScrollsWithinItsAreaAndThePanelStays() {
    Session session;
    const auto& area = *session.main.findChild<QScrollArea*>("mapArea");
    const QRect before = area.geometry();
    const QRect panelBefore = session.main.panel().box(3).geometry();
    for (int click = 0; click < 3; ++click)
        Click(session.main, "Command15");
    QCOMPARE(area.geometry(), before);
    QCOMPARE(before.topLeft(), QPoint(qRound(2200 / 15.0), qRound(500 / 15.0)));
    QCOMPARE(session.main.panel().box(3).geometry(), panelBefore);
    QVERIFY(session.map().width() > before.width());
    QVERIFY(area.horizontalScrollBar()->maximum() > 0);
    QCOMPARE(area.horizontalScrollBar()->value(), 0);
    QCOMPARE(area.verticalScrollBar()->value(), 0);
    QVERIFY(session.main.insetWindow().geometry().left() > before.right());
}

// Every box of the message panel shows its whole text, and the panel and the inset stay on a
// 1024 by 768 screen, whatever the operations before.
void DrawingTest::everyPanelTextFitsItsBoxOnA1024By768Screen() {
    Session session;
    session.main.resize(1024, 768);
    const auto check = [&session](const char* after) {
        QApplication::processEvents();
        for (int number = 3; number <= 7; ++number) {
            const QPlainTextEdit& box = session.main.panel().box(number);
            const QRect text =
                QFontMetrics(box.font())
                    .boundingRect(box.viewport()->contentsRect().adjusted(4, 4, -4, -4),
                                  Qt::TextWordWrap, box.toPlainText());
            QVERIFY2(text.height() <= box.viewport()->height() - 8,
                     qPrintable(QString("box %1 after %2").arg(number).arg(after)));
            QVERIFY2(box.verticalScrollBar()->maximum() == 0,
                     qPrintable(QString("box %1 scrolls after %2").arg(number).arg(after)));
        }
        const QWidget& caption = session.main.label(2);
        const QPoint bottomRight = caption.mapTo(&session.main, caption.rect().bottomRight());
        QVERIFY2(bottomRight.x() < 1024 && bottomRight.y() < 768, after);
    };
    check("start");
    session.fix();
    check("FIX");
    Click(session.main, "Command5");
    check("Clear and Reload");
    Click(session.main, "Command15");
    Click(session.main, "Command15");
    check("two Zoom-Outs");
}

void DrawingTest::zoomingOutStopsBeforeTheMapIsTooLargeToHold() {
    Session session;
    session.showPlan(StripedPlan({2000, 2000}));
    int clicks = 0;
    while (session.dialogs.calls().empty() && clicks < 50) {
        Click(session.main, "Command15");
        ++clicks;
    }
    QCOMPARE(session.dialogs.messageTexts(),
             QStringList{"The map window cannot be made any larger"});
    const QSize size = session.map().image().size();
    QVERIFY(size.width() * 1.1 * size.height() * 1.1 * 4 > 256.0 * 1024 * 1024);
    QCOMPARE(session.state().ZoomFactorX * 2000, static_cast<float>(size.width()));
    QVERIFY(clicks < 50);
}

void DrawingTest::aCancelledColourDialogSetsTheColourLastChosenInIt() {
    Session session;
    session.map().setForeColor(Qt::green);
    session.dialogs.answerColour(std::nullopt);
    Click(session.main, "Command30");
    QCOMPARE(session.map().foreColor(), QColor(Qt::black));

    session.dialogs.answerColour(QColor(0, 0, 255));
    Click(session.main, "Command30");
    QCOMPARE(session.map().foreColor(), QColor(0, 0, 255));

    session.map().setForeColor(Qt::green);
    session.dialogs.answerColour(std::nullopt);
    Click(session.main, "Command30");
    QCOMPARE(session.map().foreColor(), QColor(0, 0, 255));
    QVERIFY(session.dialogs.unexpected().isEmpty());
}

void DrawingTest::linesDrawnAfterAZoomAreInZoomedCoordinates() {
    Session session;
    Click(session.main, "Command15");
    Click(session.main, "Command15");
    session.fix();
    QCOMPARE(session.state().InsetScaleX, static_cast<float>(3300.0 / session.map().widthUnits()));
    Drag(session.map(), {600, 500}, {700, 530});
    QCOMPARE(session.state().AxialLines.at(0), PixelLine(600, 500, 700, 530));
}

QTEST_MAIN(DrawingTest)
#include "test_drawing.moc"

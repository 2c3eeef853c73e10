// The picture surface: map units, pen state, invert mode and fills.
#include "gui/host/picture_surface.h"

#include <QtTest>

using namespace vantrel;

class PictureSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void sizesAreInTwipsFifteenToAPixel();
    void aLineInInvertModeDrawnTwiceRestoresEveryPixel();
    void circlesAreFilledOnlyWhenTheFillStyleIsSolid();
    void clearFillsWithTheBackColourAndResizeKeepsTheDrawing();
    void pointerEventsArriveInMapUnits();
};

void PictureSurfaceTest::sizesAreInTwipsFifteenToAPixel() {
    PictureSurface surface;
    surface.resizeUnits(9000, 6750);
    QCOMPARE(surface.image().size(), QSize(600, 450));
    QCOMPARE(surface.widthUnits(), 9000.0);
    QCOMPARE(surface.heightUnits(), 6750.0);
    QCOMPARE(surface.size(), QSize(600, 450));
}

void PictureSurfaceTest::aLineInInvertModeDrawnTwiceRestoresEveryPixel() {
    PictureSurface surface;
    surface.resizeUnits(3000, 3000);
    surface.setBackColor(Qt::white);
    surface.clear();
    surface.setDrawWidth(3);
    surface.line(150, 150, 2850, 2000, Qt::red);
    const QImage before = surface.image();

    surface.setDrawWidth(1);
    surface.setDrawMode(DrawMode::Invert);
    surface.line(0, 2900, 2900, 0);
    QVERIFY(surface.image() != before);
    QCOMPARE(surface.image().pixelColor(100, 93), QColor(Qt::black));
    surface.line(0, 2900, 2900, 0);
    QCOMPARE(surface.image(), before);

    surface.line(1500, 1500, 1500, 1500);
    QCOMPARE(surface.image().pixelColor(100, 100), QColor(Qt::black));
    surface.line(1500, 1500, 1500, 1500);
    QCOMPARE(surface.image(), before);
}

void PictureSurfaceTest::circlesAreFilledOnlyWhenTheFillStyleIsSolid() {
    PictureSurface surface;
    surface.resizeUnits(3000, 3000);
    surface.setBackColor(Qt::black);
    surface.clear();
    surface.setFillColor(Qt::blue);
    surface.setFillStyle(FillStyle::Solid);
    surface.circle(750, 750, 300, Qt::white);
    QCOMPARE(surface.image().pixelColor(50, 50), QColor(Qt::blue));
    QCOMPARE(surface.image().pixelColor(70, 50), QColor(Qt::white));

    surface.setFillStyle(FillStyle::Transparent);
    surface.circle(2250, 2250, 300, Qt::white);
    QCOMPARE(surface.image().pixelColor(150, 150), QColor(Qt::black));
    QCOMPARE(surface.image().pixelColor(170, 150), QColor(Qt::white));
}

void PictureSurfaceTest::clearFillsWithTheBackColourAndResizeKeepsTheDrawing() {
    PictureSurface surface;
    surface.resizeUnits(1500, 1500);
    surface.setBackColor(Qt::black);
    surface.clear();
    surface.line(0, 150, 1500, 150, Qt::green);
    surface.resizeUnits(3000, 1500);
    QCOMPARE(surface.image().pixelColor(50, 10), QColor(Qt::green));
    QCOMPARE(surface.image().pixelColor(150, 10), QColor(Qt::black));
    surface.clear();
    QCOMPARE(surface.image().pixelColor(50, 10), QColor(Qt::black));
}

void PictureSurfaceTest::pointerEventsArriveInMapUnits() {
    PictureSurface surface;
    surface.resizeUnits(3000, 3000);
    surface.show();
    double x = 0, y = 0;
    connect(&surface, &PictureSurface::pointerDown, this,
            [&](Qt::MouseButton, Qt::KeyboardModifiers, double atX, double atY) {
                x = atX;
                y = atY;
            });
    QTest::mousePress(&surface, Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    QCOMPARE(x, 150.0);
    QCOMPARE(y, 300.0);
}

QTEST_MAIN(PictureSurfaceTest)
#include "test_picture_surface.moc"

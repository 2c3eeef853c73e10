#include "gui/display/map_surface_window.h"

#include "gui/host/picture_surface.h"
#include "gui/host/twips.h"
#include "gui/host/window_geometry.h"

#include <QAction>
#include <QScrollArea>

namespace vantrel {

namespace {
constexpr double kSurfaceMargin = 120;
constexpr double kWindowExtraWidth = 350;
constexpr double kWindowExtraHeight = 1000;
} // namespace

MapSurfaceWindow::MapSurfaceWindow(const char* objectName, const QString& caption,
                                   const QString& surfaceAccessibleName) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setAccessibleName(caption);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("scrollArea");
    m_canvas = new QWidget;
    scroll->setWidget(m_canvas);
    setCentralWidget(scroll);

    m_surface = new PictureSurface(m_canvas);
    m_surface->setObjectName("Picture1");
    m_surface->setAccessibleName(surfaceAccessibleName);
    m_surface->setBackColor(Qt::black);
    m_surface->moveUnits(kSurfaceMargin, kSurfaceMargin);
    m_surface->clear();
}

QAction& MapSurfaceWindow::action(const char* objectName) const {
    auto* found = findChild<QAction*>(objectName);
    Q_ASSERT(found);
    return *found;
}

void MapSurfaceWindow::sizeToMap(double widthUnits, double heightUnits) {
    m_surface->resizeUnits(widthUnits, heightUnits);
    const QRect surface = m_surface->geometry();
    m_canvas->setFixedSize(surface.right() + 1 + TwipsToPixels(kSurfaceMargin),
                           surface.bottom() + 1 + TwipsToPixels(kSurfaceMargin));
    const int width = TwipsToPixels(widthUnits + kWindowExtraWidth);
    const int height = TwipsToPixels(heightUnits + kWindowExtraHeight);
    // A window on show keeps the room it was given; a larger map scrolls inside it.
    if (isVisible())
        resize(size().boundedTo(QSize(width, height)));
    else
        ResizeWithinScreen(*this, width, height);
}

void MapSurfaceWindow::bringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

} // namespace vantrel

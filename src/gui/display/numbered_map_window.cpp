#include "gui/display/numbered_map_window.h"

#include "gui/host/menus.h"
#include "gui/host/picture_surface.h"
#include "gui/host/twips.h"
#include "gui/host/window_geometry.h"

#include <QAction>
#include <QMenuBar>
#include <QScrollArea>

namespace vantrel {

namespace {
constexpr double kSurfaceMargin = 120;
constexpr double kWindowExtraWidth = 350;
constexpr double kWindowExtraHeight = 1000;
} // namespace

NumberedMapWindow::NumberedMapWindow(NumberedMapKind kind) : m_kind(kind) {
    const bool axial = kind == NumberedMapKind::Axial;
    setObjectName(axial ? "Form5" : "Form6");
    setWindowTitle(axial ? "Each Axial Line is Numbered in the Order Digitised"
                         : "Each Junction is Numbered in the Order Computed");
    setAccessibleName(windowTitle());

    auto* scroll = new QScrollArea(this);
    m_canvas = new QWidget;
    scroll->setWidget(m_canvas);
    setCentralWidget(scroll);
    m_surface = new PictureSurface(m_canvas);
    m_surface->setObjectName("Picture1");
    m_surface->setAccessibleName("Numbered Map");
    m_surface->setBackColor(Qt::black);
    m_surface->moveUnits(kSurfaceMargin, kSurfaceMargin);
    m_surface->clear();

    QMenu* save = AddMenu(menuBar(), "mnuSave", "&Save");
    AddItem(save, "mnuMap", "&MapWindow");
    QMenu* print = AddMenu(menuBar(), "mnuPrint", "&Print");
    AddItem(print, "mnuMapWindow", "&MapWindow");
    QMenu* readThis = AddMenu(menuBar(), "mnuReadThis", "&Read_This");
    AddItem(readThis, "mnuTheMap", axial ? "&About_the_Map" : "&About_The_Map");

    sizeToMap(9000, 6750);
}

QAction& NumberedMapWindow::action(const char* objectName) const {
    auto* found = findChild<QAction*>(objectName);
    Q_ASSERT(found);
    return *found;
}

void NumberedMapWindow::sizeToMap(double widthUnits, double heightUnits) {
    m_surface->resizeUnits(widthUnits, heightUnits);
    const QRect surface = m_surface->geometry();
    m_canvas->setFixedSize(surface.right() + 1 + TwipsToPixels(kSurfaceMargin),
                           surface.bottom() + 1 + TwipsToPixels(kSurfaceMargin));
    ResizeWithinScreen(*this, TwipsToPixels(widthUnits + kWindowExtraWidth),
                       TwipsToPixels(heightUnits + kWindowExtraHeight));
}

} // namespace vantrel

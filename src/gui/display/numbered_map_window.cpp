#include "gui/display/numbered_map_window.h"

#include "gui/host/menus.h"

#include <QMenuBar>

namespace vantrel {

NumberedMapWindow::NumberedMapWindow(NumberedMapKind kind)
    : MapSurfaceWindow(kind == NumberedMapKind::Axial ? "Form5" : "Form6",
                       kind == NumberedMapKind::Axial
                           ? "Each Axial Line is Numbered in the Order Digitised"
                           : "Each Junction is Numbered in the Order Computed",
                       "Numbered Map"),
      m_kind(kind) {
    const bool axial = kind == NumberedMapKind::Axial;

    QMenu* save = AddMenu(menuBar(), "mnuSave", "&Save");
    AddItem(save, "mnuMap", "&MapWindow");
    QMenu* print = AddMenu(menuBar(), "mnuPrint", "&Print");
    AddItem(print, "mnuMapWindow", "&MapWindow");
    QMenu* readThis = AddMenu(menuBar(), "mnuReadThis", "&Read_This");
    AddItem(readThis, "mnuTheMap", axial ? "&About_the_Map" : "&About_The_Map");

    sizeToMap(9000, 6750);
}

} // namespace vantrel

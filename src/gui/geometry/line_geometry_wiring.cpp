#include "gui/geometry/line_geometry_wiring.h"

#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/geometry/intersections_operation.h"
#include "gui/geometry/line_checks_operation.h"
#include "gui/geometry/proximity_operation.h"

#include <QPushButton>

namespace vantrel {

void ConnectLineGeometryOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    QObject::connect(&main.command(2), &QPushButton::clicked, &main,
                     [&workspace] { ComputeIntersections(workspace); });
    QObject::connect(&main.command(1), &QPushButton::clicked, &main,
                     [&workspace] { CheckAxialLines(workspace); });
    QObject::connect(&main.command(8), &QPushButton::clicked, &main,
                     [&workspace] { ShowCloseJunctions(workspace); });
}

} // namespace vantrel

#include "gui/app/operations_wiring.h"

#include "gui/app/app_operations.h"
#include "gui/geometry/line_geometry_wiring.h"

namespace vantrel {

void ConnectOperations(Workspace& workspace) {
    ConnectAppOperations(workspace);
    ConnectLineGeometryOperations(workspace);
}

} // namespace vantrel

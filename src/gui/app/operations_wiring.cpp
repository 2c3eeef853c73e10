#include "gui/app/operations_wiring.h"

#include "gui/analysis/depth_map_operations.h"
#include "gui/app/app_operations.h"

namespace vantrel {

void ConnectOperations(Workspace& workspace) {
    ConnectAppOperations(workspace);
    ConnectDepthMapOperations(workspace);
}

} // namespace vantrel

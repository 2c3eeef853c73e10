#include "gui/app/operations_wiring.h"

#include "gui/app/app_operations.h"
#include "gui/app/new_project.h"

namespace vantrel {

void ConnectOperations(Workspace& workspace) {
    ConnectAppOperations(workspace);
    ConnectNewProjectOperations(workspace);
}

} // namespace vantrel

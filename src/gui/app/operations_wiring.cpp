#include "gui/app/operations_wiring.h"

#include "gui/app/app_operations.h"
#include "gui/export/export_operations.h"

namespace vantrel {

void ConnectOperations(Workspace& workspace) {
    ConnectAppOperations(workspace);
    ConnectExportOperations(workspace);
}

} // namespace vantrel

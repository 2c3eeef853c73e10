#include "gui/app/operations_wiring.h"

#include "gui/app/app_operations.h"

namespace vantrel {

void ConnectOperations(Workspace& workspace) { ConnectAppOperations(workspace); }

} // namespace vantrel

// Connects the buttons and menu items of every window to their operations.
#pragma once

namespace vantrel {

struct Workspace;

void ConnectOperations(Workspace& workspace);

} // namespace vantrel

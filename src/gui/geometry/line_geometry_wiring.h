// Connects the junction search, the line checks and the proximity view to their buttons.
#pragma once

namespace vantrel {

struct Workspace;

void ConnectLineGeometryOperations(Workspace& workspace);

} // namespace vantrel

// Wiring of the results display: the main window's hidden map buttons and View items, the
// results windows' Maps and About items and radius buttons, and the numbered windows' About item.
#pragma once

namespace vantrel {

struct Workspace;

void ConnectResultsDisplayOperations(Workspace& workspace);

} // namespace vantrel

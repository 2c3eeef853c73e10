// Starting a project afresh on the same plan, and removing the plan.
#pragma once

namespace vantrel {

struct Workspace;

// "Clear and Reload" (`Command5`): empties the project, repaints the stored plan without the
// lines, closes the results windows and brings the scale controls back.
void ResetProject(Workspace& workspace);
// "Clear Background" (`Command6`): empties the map window's picture and draws the stored lines
// on it again in the pen colour; the tables stay.
void ClearBackground(Workspace& workspace);

void ConnectNewProjectOperations(Workspace& workspace);

} // namespace vantrel

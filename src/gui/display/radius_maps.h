// Radius maps: integration counted only over the items within a topological radius, the radius-3
// maps and the maps of the radius the results windows step (RadiusN, shared by both windows).
#pragma once

namespace vantrel {

struct Workspace;

void ShowAxialRadius3Map(Workspace& workspace);
void ShowJunctionRadius3Map(Workspace& workspace);

// RadiusN grows by the step in the window's `Text2` and is shown in its `Text1`; the step buttons
// show only while the radius can still go up (below the item count) or down (above 1), and the
// map of that radius is drawn. False, with RadiusN unchanged, when the analysis has not run for
// the current items (the user is told).
bool StepAxialRadiusMap(Workspace& workspace);
bool StepJunctionRadiusMap(Workspace& workspace);

} // namespace vantrel

// "Compute Intersections": the junction table, its marks on the map and the line-junction matrix.
#pragma once

namespace vantrel {

struct Workspace;

void ComputeIntersections(Workspace& workspace);

// Hides the radius and span stepping controls of both results windows.
void HideRadiusSteppingControls(Workspace& workspace);

} // namespace vantrel

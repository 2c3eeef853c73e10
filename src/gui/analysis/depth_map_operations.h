// Depth maps: every line (or junction) coloured by its depth from an origin the user types in.
#pragma once

namespace vantrel {

struct Workspace;

// Lines at pen width 3 on the axial results window, deepest first, the origin red.
void ShowLineDepthMap(Workspace& workspace);
// White lines, then a disc per junction sized and coloured by its depth, on the junction window.
void ShowJunctionDepthMap(Workspace& workspace);

// `Command21`, `Command22` and the results windows' "&Depth_Maps" items.
void ConnectDepthMapOperations(Workspace& workspace);

} // namespace vantrel

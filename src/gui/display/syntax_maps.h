// The syntax colour maps: every line, or every junction, coloured by its integration value.
#pragma once

namespace vantrel {

struct Workspace;

// Lines at width 3 in the space syntax colours on the axial results window.
void ShowAxialSyntaxMap(Workspace& workspace);
// The axial map in white under a coloured disc per junction, on the junction results window.
void ShowJunctionSyntaxMap(Workspace& workspace);

} // namespace vantrel

// The numbered maps: the axial map with every line, or every junction, labelled by its number.
#pragma once

namespace vantrel {

struct Workspace;

// Each opens its window at the size of the main map window, cleared, with the lines in red and a
// red dot of radius 40 under each white number: at a line's start point, or at a junction.
void ShowNumberedAxialMap(Workspace& workspace);
void ShowNumberedJunctionMap(Workspace& workspace);

} // namespace vantrel

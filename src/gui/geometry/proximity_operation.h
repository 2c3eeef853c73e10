// "View-Merge Intersections": which junctions lie within the threshold of another junction.
#pragma once

namespace vantrel {

struct Workspace;

void ShowCloseJunctions(Workspace& workspace);

} // namespace vantrel

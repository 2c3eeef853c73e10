// Digitising axial lines with the pointer on the map window: a rubber band while dragging, then
// the finished line drawn, mirrored on the inset and stored.
#pragma once

namespace vantrel {

struct Workspace;

// A button went down at (x, y), in map units: the rubber band starts there.
void PointerDown(Workspace& workspace, float x, float y);
// The pointer moved to (x, y): the rubber band follows.
void PointerMove(Workspace& workspace, float x, float y);
// The button was released: the line ends at the last point moved to, wherever the release was.
void PointerUp(Workspace& workspace);

// The program's own message when a project would hold more than its 500 lines.
void WarnLineLimit(Workspace& workspace);

void ConnectDigitisingOperations(Workspace& workspace);

} // namespace vantrel

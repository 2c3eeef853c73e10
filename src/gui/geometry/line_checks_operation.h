// "Check Axial  Lines": rogue lines, freestanding lines and the position of each line, with the
// offer to delete the doubtful ones.
#pragma once

namespace vantrel {

struct Workspace;

void CheckAxialLines(Workspace& workspace);

} // namespace vantrel

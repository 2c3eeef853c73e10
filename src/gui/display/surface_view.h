// The smoothed surface view: a framed 50 by 50 grid of randomly coloured cells.
#pragma once

namespace vantrel {

class PictureSurface;
struct Workspace;

// Draws a new random pattern on `surface` (a results window's map), which is cleared first. The
// colours come from the main window's random generator; no analysis result is read.
void ShowSurface(Workspace& workspace, PictureSurface& surface);

} // namespace vantrel

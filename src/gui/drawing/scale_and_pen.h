// The drawing scale and the pen: zooming the map window, the pen colour and width, and fixing
// the scale, which enables digitising.
#pragma once

namespace vantrel {

struct Workspace;

// Scales the map window to the factors and repaints the stored plan into it, so that repeated
// zooms never blur the plan by scaling the screen image. A map too large to hold is refused with
// a warning.
void ZoomTo(Workspace& workspace, float zoomX, float zoomY);
// Zoom-Out (`Command15`): the map window grows by a factor of 1.1, repainted from the plan.
void ZoomOut(Workspace& workspace);
// Zoom-In (`Command16`): the map window shrinks by a factor of 1.1.
void ZoomIn(Workspace& workspace);
// "Color to Draw With" (`Command30`): the pen takes the colour dialog's colour.
void ChoosePenColour(Workspace& workspace);
// `HScroll1` moved: its value is shown in `Text11`.
void ShowPenWidth(Workspace& workspace);
// "FIX" (`Command17`): hides the scale controls, lays the panel out and enables digitising.
void FixScale(Workspace& workspace);

void ConnectScaleAndPenOperations(Workspace& workspace);

} // namespace vantrel

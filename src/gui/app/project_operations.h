// File ▸ Open Project, Save Project, Save Project As and Import Axial Lines, the question asked
// before unsaved lines are replaced, and the offer of the work a run left behind when it did not
// end cleanly.
#pragma once

namespace vantrel {

struct Workspace;

// Saves to the project's file, or asks for one when it has none. False when the dialog was
// cancelled or the file could not be written, which is reported.
bool SaveProject(Workspace& workspace);
bool SaveProjectAs(Workspace& workspace);
// Opens a project file: the new-project reset, then its plan, zoom, pen, scale phase and lines.
// A file that cannot be opened is reported and changes nothing.
void OpenProject(Workspace& workspace);
// Replaces the lines with those of an axial-lines export or an x1,y1,x2,y2 CSV file, fitted to
// the map window when they lie outside it. The plan and the zoom stay; the scale is fixed.
void ImportAxialLines(Workspace& workspace);

// When lines drawn since the last save exist, asks whether to save them first. True when the
// work may be replaced (saved, or discarded), false when the user cancelled or saving failed.
bool ConfirmReplacingWork(Workspace& workspace);

// At start-up: offers back the newest work left by a run that did not end cleanly.
void OfferRecoveredWork(Workspace& workspace);

void ConnectProjectOperations(Workspace& workspace);

} // namespace vantrel

// The picture operations of every map window: open, save, print, copy into the program's picture
// store, paste from it, and clear. Written once for any surface; the main window, the results
// windows and the numbered map windows each wire them to their own menu items.
#pragma once

#include <QString>

namespace vantrel {

class PictureSurface;
struct Workspace;

// The explanations that differ from window to window.
inline constexpr char kOpenPlanExplanation[] =
    "This let's you open a map in the window from a jpeg/bitmap or gif file";
inline constexpr char kOpenPictureExplanation[] =
    "This let's you open a map in the window from a jpeg or bitmap file";
inline constexpr char kSaveMapExplanation[] =
    "This let's you save the graphics in the window as a jpg,gif or bmp file";
inline constexpr char kSaveJpegExplanation[] =
    "This let's you save the graphics in the window as a jpeg file";

// Each operation first shows its explanation box, unless menu messages are switched off. A
// cancelled dialog ends it quietly; a file that cannot be read or written is reported and
// changes nothing.

// Loads a picture file into `surface`, which takes the picture's size. False when nothing was
// loaded.
bool OpenPictureInto(Workspace& workspace, PictureSurface& surface, const QString& explanation);
// Saves what the surface shows, in the format the chosen name's extension gives.
void SavePicture(Workspace& workspace, const PictureSurface& surface, const QString& explanation);
// Prints what the surface shows at the top left of the page.
void PrintPicture(Workspace& workspace, const PictureSurface& surface);
// The picture store (and the system clipboard) take the surface's picture.
void CopyPicture(Workspace& workspace, const PictureSurface& surface);
// The surface takes the picture store's picture and size; it is emptied when nothing was copied.
void PastePicture(Workspace& workspace, PictureSurface& surface);
// The surface is emptied; the project's tables stay.
void ClearPicture(Workspace& workspace, PictureSurface& surface);

// The main window's items. OpenPlan starts a new project on the plan, but only once the plan
// has been read; until then the project, the map and the stored plan stay as they are.
void OpenPlan(Workspace& workspace);
void SaveMapPicture(Workspace& workspace);
void PrintMapPicture(Workspace& workspace);
void CopyMapPicture(Workspace& workspace);
void PasteMapPicture(Workspace& workspace);
void ClearMapPicture(Workspace& workspace);

void ConnectPictureOperations(Workspace& workspace);

} // namespace vantrel

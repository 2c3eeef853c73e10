// Window sizes that respect the screen the window is on.
#pragma once

class QWidget;

namespace vantrel {

// Resizes a top-level window to the given pixel size, but never beyond the available screen.
void ResizeWithinScreen(QWidget& window, int width, int height);

// Fills the available screen, also where no window manager honours a maximise request.
void ShowMaximisedOnScreen(QWidget& window);

} // namespace vantrel

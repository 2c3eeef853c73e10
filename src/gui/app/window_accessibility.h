// The program's own top-level windows made of a plain QWidget (the text, help and picture
// windows, the splash) are announced to the accessibility layer as windows, as the main window
// and the dialogs are, not as anonymous filler.
#pragma once

namespace vantrel {

// Installs the rule once per process; installing it again changes nothing.
void AnnouncePlainWidgetsAsWindows();

} // namespace vantrel

// Operations of the program as a whole: help, the program picture, the menu-message switch, Quit.
#pragma once

namespace vantrel {

struct Workspace;

void ShowHelp(Workspace& workspace);
void ShowProgramPicture(Workspace& workspace);
// Mirrors "Switch off Menu Messages?" into `Text9`: "1" when ticked, "0" when cleared.
void RecordMenuMessageSwitch(Workspace& workspace);
// Closes every window of the program and ends the run, unless the user keeps unsaved lines.
void Quit(Workspace& workspace);

void ConnectAppOperations(Workspace& workspace);

} // namespace vantrel

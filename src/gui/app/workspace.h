// What every operation works on: the project, the windows and the dialogs.
#pragma once

namespace vantrel {

struct ProjectState;
class Dialogs;
class MainWindow;
class ResultsWindow;
class NumberedMapWindow;
class TextWindow;
class HelpWindow;
class ProgramWindow;
class VgaResultsWindow;

struct Workspace {
    ProjectState& state;
    Dialogs& dialogs;
    MainWindow& main;
    ResultsWindow& axialResults;    // Form3
    ResultsWindow& junctionResults; // Form4
    NumberedMapWindow& numberedAxialMap;    // Form5
    NumberedMapWindow& numberedJunctionMap; // Form6
    TextWindow& textWindow;   // frmText
    HelpWindow& helpWindow;   // frmHelp
    ProgramWindow& programWindow; // Form2
    VgaResultsWindow& vgaResults; // frmVGA
};

} // namespace vantrel

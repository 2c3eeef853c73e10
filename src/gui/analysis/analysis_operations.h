// The primal and dual analyses: depths and integration of the lines and of the junctions, shown
// on their results windows.
#pragma once

namespace vantrel {

struct Workspace;

// "Axial Line  Analysis": the line graph's depths and integration, then the axial results window
// with each line drawn red, as thick as its integration.
void AnalyseAxialLines(Workspace& workspace);

// "Junction Analysis": the junction graph's depths and integration, then the junction results
// window with the lines in white and each junction a red disc sized by its integration.
void AnalyseJunctions(Workspace& workspace);

// `Command3` and `Command4`.
void ConnectAnalysisOperations(Workspace& workspace);

} // namespace vantrel

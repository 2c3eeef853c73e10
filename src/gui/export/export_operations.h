// The text exports of the main window: axial lines, junctions, the data matrix and the two lists
// of integration values, each saved to a text file the user chooses.
#pragma once

namespace vantrel {

struct Workspace;
enum class ResultsKind;

void SaveAxialLines(Workspace& workspace);
void SaveJunctions(Workspace& workspace);
void SaveDataMatrix(Workspace& workspace);
// Writes LineIntegration as it stands; lines without a value yet are written as 0.
void SaveLineIntegration(Workspace& workspace);
// Writes JunctionIntegration as it stands; junctions without a value yet are written as 0.
void SaveJunctionIntegration(Workspace& workspace);

// Every measure of each line (or junction) at radius n and 3, choice included, as the batch tool
// writes them, computed afresh from the lines and junctions.
void SaveAllMeasures(Workspace& workspace, ResultsKind kind);

void ConnectExportOperations(Workspace& workspace);

} // namespace vantrel

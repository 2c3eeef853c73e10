// Statistics of the drawn map and of the two graphs, shown in the text window.
#pragma once

namespace vantrel {

struct Workspace;

// Lines, junctions and line lengths, with the junctions marked red on the inset; refused until
// the intersections are computed.
void AxialMapStatistics(Workspace& workspace);
// The graphs of the last axial line and junction analyses.
void AxialGraphStatistics(Workspace& workspace);
void JunctionGraphStatistics(Workspace& workspace);

// `Command18` with View > Statistics > "&Axial_Map", `Command33` and `Command34` with the
// results windows' Statistics items.
void ConnectStatisticsOperations(Workspace& workspace);

} // namespace vantrel

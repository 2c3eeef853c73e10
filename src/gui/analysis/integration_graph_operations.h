// Integration graphs: the arcs between every two connected lines (or junctions) coloured by how
// close they are, and the span that limits the arcs shown.
#pragma once

namespace vantrel {

struct Workspace;

// Build the arc list from the depths of the last analysis and draw the whole graph on the
// results window; false when refused (no current analysis).
bool AxialIntegrationGraph(Workspace& workspace);
bool JunctionIntegrationGraph(Workspace& workspace);

// Move the span by the step in the results window's `Text4` and redraw from the stored arcs.
void AxialGraphSpanStep(Workspace& workspace);
void JunctionGraphSpanStep(Workspace& workspace);

// `Command23`, `Command24`, `Command31`, `Command32`, the Graphs items of both results windows
// and their span buttons `Command4` and `Command5`.
void ConnectIntegrationGraphOperations(Workspace& workspace);

} // namespace vantrel

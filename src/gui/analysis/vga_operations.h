// Visibility graph analysis on the desktop (`Command25`, "Visibility Graph Analysis"): the walls
// are the dark pixels of the plan as the map window shows it, the lines drawn over it not
// counting; the user gives the grid spacing and clicks where to fill the grid from, and the
// window `frmVGA` shows the cells coloured by visual integration [HH].
#pragma once

#include <QImage>
#include <QPointF>

namespace vantrel {

struct Workspace;

// The plan as the map window shows it: the stored plan stretched to the zoomed map size on white,
// without the lines drawn over it.
QImage PlanAsShown(Workspace& workspace);

// A spacing in whole pixels that gives a few thousand points on a plan of this size.
int DefaultSpacing(QSize plan);

// Asks for the spacing and then for a click in the open space, then analyses. Ends quietly when
// the input is cancelled or there is no plan to analyse, after telling the user why.
void AnalyseVisibilityGraph(Workspace& workspace);

// Runs the analysis with the spacing (in pixels) from the point clicked (in map units, twips).
// False when the point was refused, after telling the user why.
bool AnalyseVisibilityFrom(Workspace& workspace, int spacing, QPointF clicked);

// The points of the last analysis with every measure, to a CSV file the user chooses.
void SaveVgaPoints(Workspace& workspace);

void ConnectVgaOperations(Workspace& workspace);

} // namespace vantrel

// The About texts of the results windows and of the numbered map windows, in the TextWindow.
#pragma once

#include "gui/display/numbered_map_window.h"
#include "gui/display/results_window.h"

namespace vantrel {

struct Workspace;

void ShowAboutIntegrationMaps(Workspace& workspace, ResultsKind kind);
void ShowAboutIntegrationGraph(Workspace& workspace, ResultsKind kind);
void ShowAboutNumberedMap(Workspace& workspace, NumberedMapKind kind);

} // namespace vantrel

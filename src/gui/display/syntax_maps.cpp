#include "gui/display/syntax_maps.h"

#include "core/app/project_state.h"
#include "gui/analysis/analysed_items.h"
#include "gui/app/workspace.h"
#include "gui/display/colour_maps.h"
#include "gui/host/picture_surface.h"

namespace vantrel {

namespace {

const std::vector<float>& integrationOf(const ProjectState& state, ResultsKind kind) {
    return kind == ResultsKind::Axial ? state.LineIntegration : state.JunctionIntegration;
}

// Nothing is drawn, and the map on show stays, until the analysis has run for these items.
void showSyntaxMap(Workspace& workspace, ResultsKind kind) {
    const std::vector<float>& values = integrationOf(workspace.state, kind);
    if (!requireCurrentResults(workspace, kind, values.size()))
        return;
    resultsWindowOf(workspace, kind).surface().clear();
    drawColourMap(workspace, kind, values);
}

} // namespace

void ShowAxialSyntaxMap(Workspace& workspace) {
    showSyntaxMap(workspace, ResultsKind::Axial);
}

void ShowJunctionSyntaxMap(Workspace& workspace) {
    showSyntaxMap(workspace, ResultsKind::Junction);
}

} // namespace vantrel

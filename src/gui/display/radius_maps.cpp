#include "gui/display/radius_maps.h"

#include "core/analysis/radius_values.h"
#include "core/app/project_state.h"
#include "core/host/number_text.h"
#include "gui/analysis/analysed_items.h"
#include "gui/app/workspace.h"
#include "gui/display/colour_maps.h"
#include "gui/host/picture_surface.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vantrel {

namespace {

const Matrix<std::int16_t>& radius3DepthsOf(const ProjectState& state, ResultsKind kind) {
    return kind == ResultsKind::Axial ? state.LineRadius3Depth : state.JunctionRadius3Depth;
}

void showRadius3Map(Workspace& workspace, ResultsKind kind) {
    const Matrix<std::int16_t>& depth = radius3DepthsOf(workspace.state, kind);
    if (!requireCurrentResults(workspace, kind, depth.rows()))
        return;
    resultsWindowOf(workspace, kind).surface().clear();
    drawColourMap(workspace, kind, analysis::RadiusValues(depth, 3));
}

// The step as the register holds it: its leading number, rounded, 0 when there is none. Kept
// within 16 bits, as the radius always was.
int stepIn(const QLineEdit& box) {
    constexpr double kLimit = std::numeric_limits<std::int16_t>::max();
    return static_cast<int>(
        RoundHalfEven(std::clamp(ParseNumber(box.text().toStdString()), -kLimit, kLimit)));
}

bool stepRadiusMap(Workspace& workspace, ResultsKind kind) {
    if (!requireCurrentDepths(workspace, kind))
        return false;
    ProjectState& state = workspace.state;
    ResultsWindow& window = resultsWindowOf(workspace, kind);
    const int count = itemCountOf(state, kind);

    state.RadiusN += stepIn(window.box(2));
    window.box(1).setText(QString::fromStdString(NumberText(state.RadiusN)));
    window.surface().clear();
    window.command(1).setVisible(state.RadiusN < count);
    window.command(2).setVisible(state.RadiusN > 1);
    drawColourMap(workspace, kind, analysis::RadiusValues(depthsOf(state, kind), state.RadiusN));
    return true;
}

} // namespace

void ShowAxialRadius3Map(Workspace& workspace) {
    showRadius3Map(workspace, ResultsKind::Axial);
}

void ShowJunctionRadius3Map(Workspace& workspace) {
    showRadius3Map(workspace, ResultsKind::Junction);
}

bool StepAxialRadiusMap(Workspace& workspace) {
    return stepRadiusMap(workspace, ResultsKind::Axial);
}

bool StepJunctionRadiusMap(Workspace& workspace) {
    return stepRadiusMap(workspace, ResultsKind::Junction);
}

} // namespace vantrel

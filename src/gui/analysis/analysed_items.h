// What an axial or a junction operation works on: its results window, its items and the depths
// of the last analysis, and the refusal when that analysis does not cover the current items.
#pragma once

#include "core/analysis/integration_graph.h"
#include "core/app/matrix.h"
#include "gui/display/results_window.h"

#include <QColor>
#include <cstdint>
#include <optional>

namespace vantrel {

struct ProjectState;
struct Workspace;

namespace display {
struct Rgb;
}

ResultsWindow& resultsWindowOf(Workspace& workspace, ResultsKind kind);
int itemCountOf(const ProjectState& state, ResultsKind kind);
const Matrix<std::int16_t>& depthsOf(const ProjectState& state, ResultsKind kind);

// The depth matrix was computed for exactly the items there are now.
bool depthsAreCurrent(const ProjectState& state, ResultsKind kind);

// True when the depths are current. Otherwise, with fewer than two items, clears the results
// window (the junctions' window then shows the lines) without a word; with more, tells the user
// which analysis to run first.
bool requireCurrentDepths(Workspace& workspace, ResultsKind kind);

// Where item `number` (1-based) is drawn as a node: a line's mid-point or a junction's point;
// nothing for a number that is not an item.
std::optional<analysis::NodePoint> nodePointOf(const ProjectState& state, ResultsKind kind,
                                               int number);

QColor toQColor(const display::Rgb& colour);

} // namespace vantrel

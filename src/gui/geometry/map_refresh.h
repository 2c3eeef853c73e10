// Redrawing the axial map on the map window and the inset, and the caption under the inset.
#pragma once

#include <QColor>
#include <QString>

namespace vantrel {

struct Workspace;
struct AxialLine;

// The map window cleared and the stored plan painted at (0, 0), stretched to the zoomed map
// size; with no plan the window is left blank.
void RepaintMapFromPlan(Workspace& workspace);

// One line in `mapColour` on the map window and in `insetColour` on the inset, at inset scale.
void DrawAxialLine(Workspace& workspace, const AxialLine& line, const QColor& mapColour,
                   const QColor& insetColour);

// The plan repainted, the inset cleared, and every line black on the map and white on the inset.
void RedrawAxialMap(Workspace& workspace);

// `Label2`, the caption under the inset, in the given colour.
void SetInsetCaption(Workspace& workspace, const QString& text, const QColor& colour);

inline const QString kInsetCaption = QStringLiteral("Window Shows a Scaled Down Axial Map");

} // namespace vantrel

#include "gui/geometry/line_checks_operation.h"

#include "core/geometry/line_checks.h"
#include "core/host/number_text.h"
#include "gui/app/main_window.h"
#include "gui/app/project_document.h"
#include "gui/app/workspace.h"
#include "gui/geometry/intersections_operation.h"
#include "gui/geometry/map_refresh.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"
#include "gui/host/twips.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

namespace vantrel {

namespace {

const QString kTitle =
    QStringLiteral("You Are Checking All Axial Lines for Correct Position and If Not, Redrawing.");
const QColor kRed(255, 0, 0);
const QColor kMarkColour(255, 255, 0);
constexpr int kMarkWidth = 7;

bool AskYesNo(Workspace& workspace, const QString& text, const QString& title,
              std::optional<QRect> keepClear = std::nullopt) {
    return workspace.dialogs.message(text, title, MessageButtons::YesNo, MessageIcon::Question,
                                     keepClear) == MessageAnswer::Yes;
}

// Where a line and its mark lie on the screen.
QRect ScreenRectOf(const PictureSurface& map, const AxialLine& line) {
    const QPoint first(TwipsToPixels(line.x1), TwipsToPixels(line.y1));
    const QPoint second(TwipsToPixels(line.x2), TwipsToPixels(line.y2));
    const QRect onMap = QRect(first, second)
                            .normalized()
                            .adjusted(-kMarkWidth, -kMarkWidth, kMarkWidth, kMarkWidth);
    return QRect(map.mapToGlobal(onMap.topLeft()), onMap.size());
}

// The line in question stands out in thick yellow while the user answers; the map is then as it
// was.
bool AskAboutLine(Workspace& workspace, const AxialLine& line) {
    PictureSurface& map = workspace.main.mapWindow();
    const QImage unmarked = map.image();
    const int width = map.drawWidth();
    map.setDrawWidth(kMarkWidth);
    map.line(line.x1, line.y1, line.x2, line.y2, kMarkColour);
    map.setDrawWidth(width);
    const bool correct = AskYesNo(workspace, "Is the Position of the Axial Line Correct?",
                                  "Checking Each Axial Line", ScreenRectOf(map, line));
    map.setImage(unmarked);
    return correct;
}

// Whatever the checks deleted, the map and the counters show the lines as they now are.
void Refresh(Workspace& workspace, bool linesDeleted) {
    RedrawAxialMap(workspace);
    ProjectState& state = workspace.state;
    workspace.main.box(1).setText(QString::fromStdString(NumberText(state.LineCount())));
    if (state.LineCount() == 0) {
        state.Junctions.clear();
        state.LineJunctionMatrix = {};
    }
    // A deletion empties the junction table until it is computed again.
    if (state.LineCount() == 0 || linesDeleted)
        workspace.main.box(2).setText(QString::fromStdString(IntegerText(state.JunctionCount())));
    SetInsetCaption(workspace, kInsetCaption, Qt::black);
}

bool DeleteIfConfirmed(Workspace& workspace, const geometry::KeepFlags& keep, const QString& text,
                       const QString& title) {
    if (!AskYesNo(workspace, text, title) || geometry::DeleteLines(workspace.state, keep) == 0)
        return false;
    workspace.main.project().linesChanged();
    return true;
}

bool AnyMarked(const geometry::KeepFlags& keep) {
    return std::find(keep.begin(), keep.end(), false) != keep.end();
}

void CheckRogueLines(Workspace& workspace) {
    Warn(workspace.dialogs, "First We Check to See if There are No Rogue Lines on the Map",
         "Checking Rogue Lines");
    workspace.main.panel().show(
        kTitle,
        "If any red points/lines appear when you check, these are caused by an unwitting click "
        "of the mouse in the map window.",
        "You should decide if these points are to be deleted - usually they are.",
        "It is still possible after you have deleted such points/lines, that you will get a "
        "disconnected line message later during the analysis - this can be ignored - see the "
        "help manual.");
    const ProjectState& state = workspace.state;
    const geometry::KeepFlags keep = geometry::CheckRogueLines(state.AxialLines);

    SetInsetCaption(workspace, "Red Points Show the Rogue Points", kRed);
    PictureSurface& map = workspace.main.mapWindow();
    PictureSurface& inset = workspace.main.insetWindow();
    for (PictureSurface* surface : {&map, &inset}) {
        surface->setFillStyle(FillStyle::Solid);
        surface->setFillColor(kRed);
    }
    for (int index = 0; index < state.LineCount(); ++index) {
        if (keep[index])
            continue;
        const geometry::MapPoint middle = geometry::MidPoint(state.AxialLines[index]);
        map.circle(middle.x, middle.y, geometry::kRogueLineThreshold, kRed);
        inset.circle(middle.x * state.InsetScaleX, middle.y * state.InsetScaleY,
                     geometry::kRogueLineThreshold * state.InsetScaleX, kRed);
    }

    bool deleted = false;
    if (AnyMarked(keep))
        deleted = DeleteIfConfirmed(workspace, keep, "Do You Want to Delete These Lines/Points?",
                                    "Rogue Lines/Points Digitised Incorrectly");
    else
        Warn(workspace.dialogs, "All Is OK - No Rogue Lines", "First Check Completed");
    Refresh(workspace, deleted);
}

void CheckDisconnectedLines(Workspace& workspace) {
    workspace.main.panel().show(
        kTitle,
        "If any red lines appear when you check this stage, these are entirely disconnected from "
        "the system.",
        "You should decide if these points are to be deleted - usually they are.",
        "This does not identify whether parts of the system are disconnected from other parts. "
        "It does not, in fact, make any difference to the analysis but we identify it later, if "
        "it exists.");
    Warn(workspace.dialogs, "Second We Check for Any Freestanding Disconnected Axial Lines",
         "Checking Disconnected Lines");
    const ProjectState& state = workspace.state;
    if (!state.IntersectionsComputed)
        ComputeIntersections(workspace);
    // When the junctions could not be computed (too many crossings), every line would look
    // freestanding: offer no deletion on that ground.
    if (!state.IntersectionsComputed && state.LineCount() > 1) {
        Refresh(workspace, false);
        return;
    }

    SetInsetCaption(workspace, "Red Lines Show the Disconnections", kRed);
    const geometry::KeepFlags keep =
        geometry::CheckDisconnectedLines(state.LineJunctionMatrix, state.LineCount());
    for (int index = 0; index < state.LineCount(); ++index)
        if (!keep[index])
            DrawAxialLine(workspace, state.AxialLines[index], kRed, kRed);

    bool deleted = false;
    if (AnyMarked(keep))
        deleted =
            DeleteIfConfirmed(workspace, keep, "Do You Want to Delete These Disconnected Lines?",
                              "Disconnected Lines Digitised Incorrectly");
    else
        Warn(workspace.dialogs, "All Is OK - No Disconnected Lines", "Second Check Completed");
    Refresh(workspace, deleted);
}

void CheckEachLine(Workspace& workspace) {
    workspace.main.panel().show(
        kTitle,
        "You will need to redigitise them after you have finished this stage if they are "
        "incorrectly positioned, by starting again.",
        "However you will simply be adding to the system of lines so far.",
        "Basically you can reiterate all of these stages such as checking, deleting, and "
        "snapping in any order until you get a satisfactory axial map which meets your own "
        "requirements.");
    Warn(workspace.dialogs, "Last We Now Check the Position of Each Axial Line", "Checking Lines");
    SetInsetCaption(workspace, "Red Lines Show Incorrect Positions", kRed);

    const ProjectState& state = workspace.state;
    geometry::KeepFlags keep(state.LineCount(), true);
    for (int index = 0; index < state.LineCount(); ++index) {
        const AxialLine& line = state.AxialLines[index];
        DrawAxialLine(workspace, line, Qt::black, Qt::white);
        if (!AskAboutLine(workspace, line)) {
            keep[index] = false;
            DrawAxialLine(workspace, line, kRed, kRed);
        }
    }
    const bool deleted = DeleteIfConfirmed(
        workspace, keep, "Do You Want to Delete the Incorrect Axial Lines?", "Deleting Line");
    Refresh(workspace, deleted);
}

void Run(Workspace& workspace) {
    workspace.main.panel().show(
        kTitle,
        "If a line is in the wrong position then you should respond to the request and "
        "cancel/delete it.",
        "You should delete lines that do not intersect correctly and redraw them.",
        "If you get a disconnected line message later, then this probably means you have "
        "unwittingly clicked the mouse in the drawing window and located a point - ignore it");
    HideRadiusSteppingControls(workspace);
    if (workspace.state.LineCount() == 1) {
        Warn(workspace.dialogs, "Only one axial line - enter more", "Data Input Warning");
        return;
    }
    CheckRogueLines(workspace);
    CheckDisconnectedLines(workspace);
    CheckEachLine(workspace);
}

} // namespace

void CheckAxialLines(Workspace& workspace) {
    try {
        Run(workspace);
    } catch (...) {
        // A fault ends the checks quietly, with the lines as far as they were changed.
    }
    workspace.main.mapWindow().setDrawWidth(1);
    workspace.main.panel().box(3).clear();
    workspace.main.panel().clearExplanations();
}

} // namespace vantrel

#include "core/app/project_state.h"

namespace vantrel {

namespace {
constexpr int kLineCountWarning = 101;
}

AddLineResult AddAxialLine(ProjectState& state, const AxialLine& line) {
    if (state.LineCount() >= kMaxLines)
        return AddLineResult::Refused;
    state.AxialLines.push_back(line);
    return state.LineCount() == kLineCountWarning ? AddLineResult::StoredWithWarning
                                                  : AddLineResult::Stored;
}

void ClearProjectTables(ProjectState& state) {
    ProjectState empty;
    empty.MapWidth = state.MapWidth;
    empty.MapHeight = state.MapHeight;
    empty.InsetScaleX = state.InsetScaleX;
    empty.InsetScaleY = state.InsetScaleY;
    state = std::move(empty);
}

} // namespace vantrel

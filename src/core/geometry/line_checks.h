// The checks of drawn lines: stray clicks, freestanding lines, and deleting the doubtful ones.
#pragma once

#include "core/app/matrix.h"
#include "core/app/project_state.h"
#include "core/geometry/incidence.h"

#include <cstdint>
#include <vector>

namespace vantrel::geometry {

// Map units: a stroke shorter than this on both axes is a click, not a line.
inline constexpr float kRogueLineThreshold = 50.0f;

// One flag per line: true keeps it, false marks it for deletion.
using KeepFlags = std::vector<bool>;

struct MapPoint {
    float x = 0, y = 0;
    bool operator==(const MapPoint&) const = default;
};

// |x2 - x1| < 50 and |y2 - y1| < 50, both strictly.
bool IsRogueLine(const AxialLine& line);
KeepFlags CheckRogueLines(const std::vector<AxialLine>& lines);

// A line is disconnected when its row of the matrix sums to 0; rows the matrix lacks count as 0.
KeepFlags CheckDisconnectedLines(const Matrix<std::int16_t>& lineJunctionMatrix, int lineCount);
KeepFlags CheckDisconnectedLines(const Incidence& incidence);

// ((x1 + x2) / 2, (y1 + y2) / 2) in float.
MapPoint MidPoint(const AxialLine& line);

// Removes the lines flagged false, keeping the rest in their order and so renumbering them from
// 1; lines beyond the flags are kept. Returns how many went. When any line goes, the junction
// table and the line-junction matrix name lines by their old numbers, so both are emptied and
// IntersectionsComputed is cleared: the next check recomputes them instead of reading stale rows.
int DeleteLines(ProjectState& state, const KeepFlags& keep);

} // namespace vantrel::geometry

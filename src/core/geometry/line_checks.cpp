#include "core/geometry/line_checks.h"

#include <algorithm>
#include <cmath>

namespace vantrel::geometry {

bool IsRogueLine(const AxialLine& line) {
    return std::fabs(double(line.x2) - line.x1) < kRogueLineThreshold &&
           std::fabs(double(line.y2) - line.y1) < kRogueLineThreshold;
}

KeepFlags CheckRogueLines(const std::vector<AxialLine>& lines) {
    KeepFlags keep;
    keep.reserve(lines.size());
    for (const AxialLine& line : lines)
        keep.push_back(!IsRogueLine(line));
    return keep;
}

KeepFlags CheckDisconnectedLines(const Matrix<std::int16_t>& lineJunctionMatrix, int lineCount) {
    KeepFlags keep(lineCount, false);
    const int rows = std::min(lineCount, static_cast<int>(lineJunctionMatrix.rows()));
    for (int line = 0; line < rows; ++line) {
        long sum = 0;
        for (std::size_t junction = 0; junction < lineJunctionMatrix.columns(); ++junction)
            sum += lineJunctionMatrix(line, junction);
        keep[line] = sum != 0;
    }
    return keep;
}

KeepFlags CheckDisconnectedLines(const Incidence& incidence) {
    KeepFlags keep(incidence.lineCount);
    for (int line = 0; line < incidence.lineCount; ++line)
        keep[line] = !incidence.junctionsOf(line).empty();
    return keep;
}

MapPoint MidPoint(const AxialLine& line) {
    return {(line.x1 + line.x2) / 2.0f, (line.y1 + line.y2) / 2.0f};
}

int DeleteLines(ProjectState& state, const KeepFlags& keep) {
    std::vector<AxialLine> kept;
    kept.reserve(state.AxialLines.size());
    for (std::size_t index = 0; index < state.AxialLines.size(); ++index)
        if (index >= keep.size() || keep[index])
            kept.push_back(state.AxialLines[index]);
    const int removed = state.LineCount() - static_cast<int>(kept.size());
    if (removed == 0)
        return 0;
    state.AxialLines = std::move(kept);
    state.Junctions.clear();
    state.LineJunctionMatrix = {};
    state.IntersectionsComputed = false;
    return removed;
}

} // namespace vantrel::geometry

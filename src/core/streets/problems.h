// What the cleaning changed and what still looks wrong, each at a point or along a line, for the
// user to look at beside the clean map.
#pragma once

#include "core/app/project_state.h"

#include <cstdint>
#include <string_view>

namespace vantrel::streets {

enum class ProblemType {
    UnconnectedEnd,
    VeryShortSegment,
    Duplicate,
    Overlap,
    SmallGroup,
    SelfCrossing,
};

inline constexpr ProblemType kProblemTypes[] = {
    ProblemType::UnconnectedEnd, ProblemType::VeryShortSegment, ProblemType::Duplicate,
    ProblemType::Overlap,        ProblemType::SmallGroup,       ProblemType::SelfCrossing};

// The type as the problems layer names it.
std::string_view ProblemTypeName(ProblemType type);

struct Problem {
    ProblemType type = ProblemType::UnconnectedEnd;
    // Changed by a cleaning step (a gap closed, a duplicate dropped); otherwise left as it is for
    // the user to check.
    bool fixed = false;
    // A line, or a point when both ends are the same.
    MapLine where;
    // The gap closed or the distance to the nearest line, the length of the segment or stretch,
    // or the number of segments of a group; 0 for a crossing.
    double value = 0;
    // The source feature concerned.
    std::int64_t source = 0;

    bool isPoint() const { return where.x1 == where.x2 && where.y1 == where.y2; }
};

} // namespace vantrel::streets

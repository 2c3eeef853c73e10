#include "core/streets/problems.h"

namespace vantrel::streets {

std::string_view ProblemTypeName(ProblemType type) {
    switch (type) {
    case ProblemType::UnconnectedEnd:
        return "unconnected end near another line";
    case ProblemType::VeryShortSegment:
        return "very short segment";
    case ProblemType::Duplicate:
        return "duplicate";
    case ProblemType::Overlap:
        return "overlap";
    case ProblemType::SmallGroup:
        return "small separate group";
    case ProblemType::SelfCrossing:
        return "self-crossing";
    }
    return "";
}

} // namespace vantrel::streets

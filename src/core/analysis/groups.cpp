#include "core/analysis/groups.h"

#include <cmath>

namespace vantrel::analysis {

int GroupCount(std::span<const std::int32_t> reached) {
    double groups = 0;
    for (const std::int32_t others : reached) {
        if (others > 0)
            groups += 1.0 / (others + 1);
    }
    return static_cast<int>(std::lround(groups));
}

} // namespace vantrel::analysis

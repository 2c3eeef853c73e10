#include "core/analysis/groups.h"

#include <algorithm>
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

int LargestGroupSize(std::span<const std::int32_t> reached) {
    const auto most = std::max_element(reached.begin(), reached.end());
    return most == reached.end() || *most == 0 ? 0 : *most + 1;
}

} // namespace vantrel::analysis

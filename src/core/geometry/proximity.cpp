#include "core/geometry/proximity.h"

#include <cmath>

namespace vantrel::geometry {

bool AreJunctionsClose(const Junction& a, const Junction& b, float threshold) {
    return std::fabs(a.x - b.x) < threshold && std::fabs(a.y - b.y) < threshold;
}

std::vector<bool> FindCloseJunctions(const std::vector<Junction>& junctions, float threshold) {
    std::vector<bool> close(junctions.size(), false);
    for (std::size_t i = 0; i < junctions.size(); ++i)
        for (std::size_t j = i + 1; j < junctions.size(); ++j)
            if (AreJunctionsClose(junctions[i], junctions[j], threshold))
                close[i] = close[j] = true;
    return close;
}

} // namespace vantrel::geometry

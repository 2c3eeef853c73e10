#include "core/analysis/integration.h"

#include <utility>

namespace vantrel::analysis {

std::vector<float> NormaliseValues(std::vector<float> values) {
    float highest = -1.0f;
    float lowest = 100000.0f;
    for (float value : values) {
        if (value > highest) {
            highest = value;
        }
        if (value < lowest) {
            lowest = value;
        }
    }
    for (float& value : values) {
        value = highest <= lowest ? 1.0f : (value - lowest) / (highest - lowest);
    }
    return values;
}

Integration NormalisedIntegration(const std::vector<std::int64_t>& totalDepth) {
    Integration result;
    result.values.resize(totalDepth.size());
    for (std::size_t index = 0; index < totalDepth.size(); ++index) {
        if (totalDepth[index] == 0) {
            result.disconnectedNumbers.push_back(static_cast<int>(index) + 1);
        } else {
            // Divided in double and then rounded once, as the quotient of a whole number is
            // stored; the same float as single-precision division wherever the total is exact.
            result.values[index] = static_cast<float>(1.0 / static_cast<double>(totalDepth[index]));
        }
    }
    result.values = NormaliseValues(std::move(result.values));
    return result;
}

} // namespace vantrel::analysis

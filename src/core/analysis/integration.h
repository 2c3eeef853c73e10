// Integration values: 1 / total depth, rescaled over the items of one analysis.
#pragma once

#include <cstdint>
#include <vector>

namespace vantrel::analysis {

// Rescales to 0 (lowest) .. 1 (highest) in single precision. The scan starts from a highest of
// -1 and a lowest of 100000 and replaces them only by strictly greater or smaller values; when
// the highest is not above the lowest (all values equal, one value) every value becomes 1.
std::vector<float> NormaliseValues(std::vector<float> values);

struct Integration {
    // Per item, normalised 0..1.
    std::vector<float> values;
    // 1-based numbers of the items that reach no other item, ascending; their raw value is 0.
    std::vector<int> disconnectedNumbers;
};

// The raw value of an item is 1 / its total depth as a single-precision number, 0 when the total
// is 0; the raw values are then normalised.
Integration NormalisedIntegration(const std::vector<std::int64_t>& totalDepth);

} // namespace vantrel::analysis

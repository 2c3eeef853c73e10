#include "core/display/class_breaks.h"

#include <algorithm>

namespace vantrel::display {

ClassBreaks QuantileBreaks(std::vector<double> values, int classes) {
    ClassBreaks breaks;
    if (values.empty() || classes < 1)
        return breaks;
    std::sort(values.begin(), values.end());
    breaks.lowest = values.front();
    const auto count = static_cast<long long>(values.size());
    for (long long k = 1; k <= classes; ++k) {
        // The k-th of `classes` equal shares ends at the ceil(k * count / classes)-th value.
        const long long last = (k * count + classes - 1) / classes;
        breaks.uppers.push_back(values[static_cast<std::size_t>(last - 1)]);
    }
    return breaks;
}

} // namespace vantrel::display

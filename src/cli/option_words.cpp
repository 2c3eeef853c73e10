#include "cli/option_words.h"

#include "core/host/quoted_text.h"

namespace vantrel::cli {

std::string ReadThreads(std::string_view value, int& threads) {
    const std::optional<int> number = WholeNumber(value);
    if (!number || *number < 1 || *number > kMaxThreads)
        return "--threads needs a whole number from 1 to " + std::to_string(kMaxThreads) +
               ", not " + QuotedValue(value);
    threads = *number;
    return {};
}

std::string ReadTolerance(std::string_view value, double& tolerance) {
    const std::optional<double> distance = FiniteNumber(value);
    if (!distance || *distance < 0)
        return "--tolerance needs a distance of 0 or more, not " + QuotedValue(value);
    tolerance = *distance;
    return {};
}

} // namespace vantrel::cli

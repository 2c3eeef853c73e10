// The time and memory each input of a fuzz target may take, added to its command line unless
// the command line sets them: an input over them is reported as a fault, with the input kept, as
// one that exhausts memory or never ends would be found by a user. An input within its time is
// not reported as slow either: libFuzzer's own 10 s mark would keep, among the faults, a plan
// that the sanitizers take seconds to decode on a busy machine.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::fuzzing {

struct Limits {
    int seconds;             // for one input
    int residentMegabytes;   // the process as a whole
    int allocationMegabytes; // any one allocation
};

// For LLVMFuzzerInitialize, which may change the arguments before libFuzzer reads them.
inline void AddLimits(int* argc, char*** argv, Limits limits) {
    static std::vector<std::string> added;
    static std::vector<char*> arguments;
    arguments.assign(*argv, *argv + *argc);
    const std::pair<std::string, int> flags[] = {{"-timeout=", limits.seconds},
                                                 {"-rss_limit_mb=", limits.residentMegabytes},
                                                 {"-malloc_limit_mb=", limits.allocationMegabytes},
                                                 {"-report_slow_units=", limits.seconds}};
    added.reserve(std::size(flags));
    for (const auto& [flagName, value] : flags) {
        const std::string& flag = flagName; // clang 14 lambdas cannot capture a binding
        const bool given =
            std::any_of(arguments.begin(), arguments.end(), [&](const char* argument) {
                return std::string_view(argument).starts_with(flag);
            });
        if (!given)
            arguments.push_back(added.emplace_back(flag + std::to_string(value)).data());
    }
    *argc = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    *argv = arguments.data();
}

} // namespace vantrel::fuzzing

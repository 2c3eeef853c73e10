#include "cli/process_checks.h"

#include <cmath>

namespace vantrel::cli {

std::optional<std::string> CheckSameMap(RunProcesses& processes,
                                        std::initializer_list<long long> counts) {
    for (const long long count : counts) {
        const auto [least, most] = processes.spread(static_cast<double>(count));
        if (least != most)
            return "the processes of the run read different maps (" +
                   std::to_string(std::llround(least)) + " and " +
                   std::to_string(std::llround(most)) +
                   " items); each must see the same lines file";
    }
    return std::nullopt;
}

void NoteStoppedRun(StageLog& log, const RunProcesses& processes,
                    const std::filesystem::path& output) {
    if (processes.count() > 1 && processes.leads())
        log.error("the run was stopped before it finished (interrupted, or one of its " +
                  std::to_string(processes.count()) + " processes ended); " + output.string() +
                  " was left as it was");
}

} // namespace vantrel::cli

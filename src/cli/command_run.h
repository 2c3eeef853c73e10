// How every command of the batch tool starts and ends: its help, a wrong command line, and a run
// whose fault or exception becomes one line and an exit status.
#pragma once

#include "cli/run_processes.h"
#include "cli/stage_log.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::cli {

struct CommandLine {
    bool help = false;
    std::string helpText;
    // Why the command line cannot be run; empty when it can.
    std::string error;
    // What a fault line starts with ("vantrel-cli: ") and the command whose help to try.
    std::string_view faultPrefix = "vantrel-cli: ";
    std::string_view helpCommand = "vantrel-cli --help";
    bool quiet = false;
    bool timings = false;
    // Under several processes only the lead prints anything.
    RunProcesses* processes = nullptr;
};

using CommandRun = std::function<std::optional<std::string>(StageLog& log)>;

// Prints the help, or the fault of the command line, or runs `run` with a stage log on standard
// error; a fault it returns or throws is logged as one line, and running out of memory as
// `outOfMemory`. Returns the exit status: 0 done, 1 failed, 2 a wrong command line.
int RunCommand(const CommandLine& line, const CommandRun& run,
               std::string_view outOfMemory = "not enough memory for this map");

} // namespace vantrel::cli

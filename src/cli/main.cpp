// vantrel-cli: the program's analysis of axial-line files and plans from the command line.
#include "cli/analysis_run.h"
#include "cli/arguments.h"
#include "cli/command_run.h"
#include "cli/interruption.h"
#include "cli/prepare_command.h"
#include "cli/segment_run.h"
#include "cli/stage_log.h"
#include "cli/vga_command.h"

#include <span>
#include <string_view>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
    using namespace vantrel::cli;
    Interruption interruption;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments.front() == "prepare")
        return RunPrepareCommand(std::span(arguments).subspan(1), interruption);
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    const int defaultThreads = cores > 0 ? cores : 1;
    if (!arguments.empty() && arguments.front() == "segment")
        return RunSegmentCommand(std::span(arguments).subspan(1), defaultThreads, interruption);
    if (!arguments.empty() && arguments.front() == "vga")
        return VgaMain(std::span(arguments).subspan(1), defaultThreads, interruption);
    const ParsedArguments parsed = ParseArguments(arguments, defaultThreads);
    return RunCommand(
        {.help = parsed.help,
         .helpText = parsed.help ? HelpText(defaultThreads) : std::string(),
         .error = parsed.error,
         .quiet = parsed.options.quiet,
         .timings = parsed.options.timings},
        [&](StageLog& log) { return RunAnalysis(parsed.options, log, &interruption); });
}

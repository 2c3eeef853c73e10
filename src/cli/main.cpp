// vantrel-cli: the program's analysis of axial-line files and plans from the command line.
#include "cli/analysis_run.h"
#include "cli/arguments.h"
#include "cli/command_run.h"
#include "cli/interruption.h"
#include "cli/prepare_command.h"
#include "cli/segment_run.h"
#include "cli/stage_log.h"
#include "cli/vga_command.h"
#include "cluster/start_processes.h"

#include <iostream>
#include <span>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using namespace vantrel::cli;

int RunCommandLine(std::span<const std::string_view> arguments, Interruption& interruption,
                   RunProcesses& processes) {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    const int defaultThreads = cores > 0 ? cores : 1;
    const std::string_view command = arguments.empty() ? std::string_view() : arguments.front();
    if (processes.count() > 1 && (command == "prepare" || command == "vga")) {
        if (processes.leads())
            std::cerr << "vantrel-cli: " << command
                      << " runs as one process; start it without mpirun or srun\n";
        return 2;
    }
    if (command == "prepare")
        return RunPrepareCommand(arguments.subspan(1), interruption);
    if (command == "segment")
        return RunSegmentCommand(arguments.subspan(1), defaultThreads, interruption, processes);
    if (command == "vga")
        return VgaMain(arguments.subspan(1), defaultThreads, interruption);
    const ParsedArguments parsed = ParseArguments(arguments, defaultThreads);
    return RunCommand(
        {.help = parsed.help,
         .helpText = parsed.help ? HelpText(defaultThreads) : std::string(),
         .error = parsed.error,
         .quiet = parsed.options.quiet,
         .timings = parsed.options.timings,
         .processes = &processes},
        [&](StageLog& log) { return RunAnalysis(parsed.options, log, &interruption, &processes); });
}

} // namespace

int main(int argc, char** argv) {
    // Made before MPI starts any thread, so that every thread leaves Ctrl-C to it.
    Interruption interruption;
    std::unique_ptr<RunProcesses> processes;
    try {
        processes = vantrel::cluster::StartRunProcesses(argc, argv);
    } catch (const std::runtime_error& fault) {
        std::cerr << "vantrel-cli: " << fault.what() << '\n';
        return 1;
    }
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    return processes->end(RunCommandLine(arguments, interruption, *processes));
}

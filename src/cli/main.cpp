// vantrel-cli: the program's analysis of axial-line files and plans from the command line.
#include "cli/analysis_run.h"
#include "cli/arguments.h"
#include "cli/interruption.h"
#include "cli/prepare_command.h"
#include "cli/segment_run.h"
#include "cli/stage_log.h"
#include "cli/vga_command.h"

#include <unistd.h>

#include <exception>
#include <iostream>
#include <new>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

namespace {

constexpr int kFailed = 1;
constexpr int kUsageFault = 2;

} // namespace

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
    if (parsed.help) {
        std::cout << HelpText(defaultThreads);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::cerr << "vantrel-cli: " << parsed.error << "\nTry 'vantrel-cli --help'.\n";
        return kUsageFault;
    }

    StageLog log(std::cerr, {parsed.options.quiet, parsed.options.timings, isatty(2) == 1});
    try {
        if (const auto fault = RunAnalysis(parsed.options, log, &interruption)) {
            log.error(*fault);
            return kFailed;
        }
    } catch (const std::bad_alloc&) {
        log.error("not enough memory for this map");
        return kFailed;
    } catch (const std::exception& fault) {
        log.error(fault.what());
        return kFailed;
    }
    return 0;
}

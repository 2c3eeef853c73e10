#include "cli/command_run.h"

#include <unistd.h>

#include <exception>
#include <iostream>
#include <new>

namespace vantrel::cli {

int RunCommand(const CommandLine& line, const CommandRun& run, std::string_view outOfMemory) {
    constexpr int kFailed = 1;
    constexpr int kUsageFault = 2;
    if (line.help) {
        std::cout << line.helpText;
        return 0;
    }
    if (!line.error.empty()) {
        std::cerr << line.faultPrefix << line.error << "\nTry '" << line.helpCommand << "'.\n";
        return kUsageFault;
    }
    StageLog log(std::cerr, {line.quiet, line.timings, isatty(2) == 1});
    try {
        if (const auto fault = run(log)) {
            log.error(*fault);
            return kFailed;
        }
    } catch (const std::bad_alloc&) {
        log.error(outOfMemory);
        return kFailed;
    } catch (const std::exception& fault) {
        log.error(fault.what());
        return kFailed;
    }
    return 0;
}

} // namespace vantrel::cli

#include "cli/command_run.h"

#include <unistd.h>

#include <exception>
#include <iostream>
#include <new>

namespace vantrel::cli {

int RunCommand(const CommandLine& line, const CommandRun& run, std::string_view outOfMemory) {
    constexpr int kFailed = 1;
    constexpr int kUsageFault = 2;
    const bool speaks = !line.processes || line.processes->leads();
    // A stream without a buffer drops what is written to it.
    std::ostream unheard(nullptr);
    std::ostream& out = speaks ? std::cout : unheard;
    std::ostream& err = speaks ? std::cerr : unheard;
    if (line.help) {
        out << line.helpText;
        return 0;
    }
    if (!line.error.empty()) {
        err << line.faultPrefix << line.error << "\nTry '" << line.helpCommand << "'.\n";
        return kUsageFault;
    }
    StageLog log(err, {line.quiet, line.timings, speaks && isatty(2) == 1, line.processes});
    const auto failed = [&](std::string_view fault) {
        log.error(fault);
        if (line.processes)
            line.processes->keepFault(fault);
        return kFailed;
    };
    try {
        if (const auto fault = run(log))
            return failed(*fault);
    } catch (const std::bad_alloc&) {
        return failed(outOfMemory);
    } catch (const std::exception& fault) {
        return failed(fault.what());
    }
    return 0;
}

} // namespace vantrel::cli

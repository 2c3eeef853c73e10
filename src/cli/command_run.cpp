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

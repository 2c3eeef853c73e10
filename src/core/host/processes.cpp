#include "core/host/processes.h"

#include <signal.h>

#include <cerrno>

namespace vantrel {

bool ProcessIsAlive(pid_t pid) {
    return kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace vantrel

// Whether a process that left a file behind is still running.
#pragma once

#include <sys/types.h>

namespace vantrel {

// True while a process of that id exists, including one of another user.
bool ProcessIsAlive(pid_t pid);

} // namespace vantrel

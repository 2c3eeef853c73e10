// How a run of the batch tool starts its processes.
#pragma once

#include "cli/run_processes.h"

#include <memory>

namespace vantrel::cluster {

// Started by mpirun or srun, this process is one rank of an MPI run; started alone (or where the
// tool was built without MPI) it is the whole run. Throws std::runtime_error, with a message for
// the user, when the MPI run cannot be joined.
std::unique_ptr<cli::RunProcesses> StartRunProcesses(int& argc, char**& argv);

} // namespace vantrel::cluster

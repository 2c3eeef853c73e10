// Without MPI every run is one process.
#include "cluster/start_processes.h"

namespace vantrel::cluster {

std::unique_ptr<cli::RunProcesses> StartRunProcesses(int&, char**&) {
    return std::make_unique<cli::LoneProcess>();
}

} // namespace vantrel::cluster

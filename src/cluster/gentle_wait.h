// Waiting for MPI without keeping a core busy.
#pragma once

#include <mpi.h>

#include <chrono>
#include <thread>

namespace vantrel::cluster {

// MPI's own waits poll flat out, which takes a core from the threads still searching on the same
// machine (and from rank 0 while it writes); this one polls briefly, then sleeps between polls.
inline void WaitGently(MPI_Request& request, MPI_Status* status = MPI_STATUS_IGNORE) {
    constexpr int kBusyPolls = 100;
    constexpr auto kPause = std::chrono::microseconds(200);
    for (int polls = 0;; ++polls) {
        int done = 0;
        MPI_Test(&request, &done, status);
        if (done)
            return;
        if (polls >= kBusyPolls)
            std::this_thread::sleep_for(kPause);
    }
}

} // namespace vantrel::cluster

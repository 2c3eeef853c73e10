// The units of each search handed out among the ranks of an MPI run, and their sums combined.
#pragma once

#include "cli/run_processes.h"
#include "core/analysis/unit_sharing.h"

#include <mpi.h>

namespace vantrel::cluster {

// Every rank starts at once on a first block of its own; rank 0 keeps the rest and hands out the
// next block to a rank that asks, smaller as fewer units are left, and runs units itself between
// answering. A rank asks for its next block as soon as it starts one, so that the answer arrives
// while it works. MPI is called by one thread at a time (MPI_THREAD_SERIALIZED).
class MpiUnitSharing final : public analysis::UnitSharing {
public:
    explicit MpiUnitSharing(MPI_Comm comm);

    std::unique_ptr<analysis::UnitQueue> share(int count) override;
    void sum(std::span<std::int64_t> values) override;
    std::vector<std::int32_t> gather(std::span<const std::int32_t> words) override;
    cli::SharingSeconds seconds() const { return m_seconds; }

private:
    MPI_Comm m_comm;
    int m_rank = 0;
    int m_size = 1;
    // Each search's messages have tags of their own, so that none is taken for another's.
    int m_searches = 0;
    cli::SharingSeconds m_seconds;
    // Meets the others before a combination, so that its time is told apart from waiting.
    void meet();
};

} // namespace vantrel::cluster

// A run of the batch tool as the ranks of an MPI run.
#include "cluster/gentle_wait.h"
#include "cluster/mpi_unit_sharing.h"
#include "cluster/start_processes.h"

#include <mpi.h>

#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>

namespace vantrel::cluster {
namespace {

class MpiProcesses final : public cli::RunProcesses {
public:
    MpiProcesses() : m_sharing(MPI_COMM_WORLD) {
        MPI_Comm_rank(MPI_COMM_WORLD, &m_rank);
        MPI_Comm_size(MPI_COMM_WORLD, &m_size);
    }
    MpiProcesses(const MpiProcesses&) = delete;
    MpiProcesses& operator=(const MpiProcesses&) = delete;
    ~MpiProcesses() override { MPI_Finalize(); }

    int count() const override { return m_size; }
    bool leads() const override { return m_rank == 0; }
    analysis::UnitSharing* sharing() override { return m_size > 1 ? &m_sharing : nullptr; }

    std::optional<std::string> agree(std::optional<std::string> fault) override {
        // The lowest rank with a fault speaks for all; rank 0 is the lead.
        const int own = fault ? m_rank : m_size;
        int first = m_size;
        // The others may wait here a while, as rank 0 writes the results.
        MPI_Request request;
        MPI_Iallreduce(&own, &first, 1, MPI_INT, MPI_MIN, MPI_COMM_WORLD, &request);
        WaitGently(request);
        m_settled = first < m_size;
        if (!m_settled)
            return std::nullopt;
        std::string text = m_rank == first ? *fault : std::string();
        int length = static_cast<int>(text.size());
        MPI_Bcast(&length, 1, MPI_INT, first, MPI_COMM_WORLD);
        text.resize(length);
        MPI_Bcast(text.data(), length, MPI_CHAR, first, MPI_COMM_WORLD);
        if (first != 0)
            text = "process " + std::to_string(first) + " of the run: " + text;
        return text;
    }

    std::pair<double, double> spread(double seconds) override {
        const double own[2] = {-seconds, seconds};
        double most[2] = {0, 0};
        MPI_Request request;
        MPI_Iallreduce(own, most, 2, MPI_DOUBLE, MPI_MAX, MPI_COMM_WORLD, &request);
        WaitGently(request);
        return {-most[0], most[1]};
    }

    cli::SharingSeconds sharingSeconds() const override { return m_sharing.seconds(); }

    void keepFault(std::string_view fault) override {
        // As the lead would tell another process's fault that all were told of.
        m_fault =
            "vantrel-cli: process " + std::to_string(m_rank) + " of the run: " + std::string(fault);
    }

    int end(int status) override {
        // The others may be waiting for this process in the middle of the work; the lead has
        // told its fault already, another process tells its own before the run ends.
        if (status != 0 && !m_settled && m_size > 1) {
            if (m_rank != 0 && !m_fault.empty())
                std::cerr << m_fault << std::endl;
            MPI_Abort(MPI_COMM_WORLD, status);
        }
        return status;
    }

private:
    MpiUnitSharing m_sharing;
    int m_rank = 0;
    int m_size = 1;
    // Set while every process knows how the run ends: before any work, and after a fault that
    // all were told of.
    bool m_settled = true;
    std::string m_fault;
};

// mpirun (Open MPI, MPICH) and srun with PMI or PMIx tell their processes so through these.
bool StartedAsRank() {
    for (const char* name : {"OMPI_COMM_WORLD_SIZE", "PMIX_RANK", "PMI_RANK", "PMI_SIZE"}) {
        if (std::getenv(name))
            return true;
    }
    return false;
}

// srun without an MPI plugin starts copies that cannot reach each other, each of which would run
// the whole analysis and write the same output.
void RefuseLoneCopies(int processes) {
    const char* tasks = std::getenv("SLURM_STEP_NUM_TASKS");
    if (processes == 1 && tasks && std::atoi(tasks) > 1)
        throw std::runtime_error(std::string("srun started ") + tasks +
                                 " copies that do not form one MPI run; start them with "
                                 "srun --mpi=pmix (srun --mpi=list shows what the cluster has)");
}

} // namespace

std::unique_ptr<cli::RunProcesses> StartRunProcesses(int& argc, char**& argv) {
    if (!StartedAsRank()) {
        RefuseLoneCopies(1);
        return std::make_unique<cli::LoneProcess>();
    }
    int provided = MPI_THREAD_SINGLE;
    if (MPI_Init_thread(&argc, &argv, MPI_THREAD_SERIALIZED, &provided) != MPI_SUCCESS)
        throw std::runtime_error("cannot join the MPI run");
    if (provided < MPI_THREAD_SERIALIZED) {
        MPI_Finalize();
        throw std::runtime_error("the MPI library does not let threads take turns calling it "
                                 "(MPI_THREAD_SERIALIZED); run with one process");
    }
    auto processes = std::make_unique<MpiProcesses>();
    RefuseLoneCopies(processes->count());
    return processes;
}

} // namespace vantrel::cluster

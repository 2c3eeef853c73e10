// The processes of one run of the batch tool: one alone, or the ranks of an MPI run. Every process
// reads the input and computes its share; one of them, the lead, speaks and writes the results.
#pragma once

#include "core/analysis/unit_sharing.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vantrel::cli {

// The time one process spent on sharing the work: the processor time of handing out units and
// combining sums, and the wall time of waiting for the others (for its next block, for a slower
// process).
struct SharingSeconds {
    double communicating = 0;
    double waiting = 0;
};

class RunProcesses {
public:
    virtual ~RunProcesses() = default;
    virtual int count() const = 0;
    // The process that tells the run's stages, notes and faults and writes the results.
    virtual bool leads() const = 0;
    // Shares the units of each search among the processes; nothing for one process alone.
    virtual analysis::UnitSharing* sharing() = 0;
    // Called by every process at the same point with its own fault, if any: every process gets
    // the lead's fault, or else the first other process's, so that all end alike.
    virtual std::optional<std::string> agree(std::optional<std::string> fault) = 0;
    // The least and the most of every process's `seconds`.
    virtual std::pair<double, double> spread(double seconds) = 0;
    virtual SharingSeconds sharingSeconds() const { return {}; }
    // This process's failure, kept for end(): the lead's is told as usual, another process's
    // is heard only if it ends the run alone.
    virtual void keepFault(std::string_view) {}
    // Ends this process's part with its exit status; a failure that the others were not told of
    // through agree ends the whole run. Returns the status to exit with.
    virtual int end(int status) { return status; }
};

class LoneProcess final : public RunProcesses {
public:
    int count() const override { return 1; }
    bool leads() const override { return true; }
    analysis::UnitSharing* sharing() override { return nullptr; }
    std::optional<std::string> agree(std::optional<std::string> fault) override { return fault; }
    std::pair<double, double> spread(double seconds) override { return {seconds, seconds}; }
};

} // namespace vantrel::cli

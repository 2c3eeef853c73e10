// How the numbered units of a search are shared among the processes of one run (the ranks of an
// MPI run), and how what they found is put together; one process alone needs none of it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vantrel::analysis {

// The units one process runs, handed out as the run goes, so that a slow process takes fewer.
class UnitQueue {
public:
    virtual ~UnitQueue() = default;
    // The next unit for this process, or -1 when none is left for it; `finished` counts the units
    // this process has finished. Called by one thread at a time, any of the process's threads.
    virtual int next(int finished) = 0;
    // The units finished by every process, as far as this one knows, for its progress; under the
    // same rule as next.
    virtual int finishedByAll(int finished) = 0;
    // Called once all of this process's threads have stopped after the last unit.
    virtual void close() = 0;
};

// Every process of the run makes the same calls in the same order.
class UnitSharing {
public:
    virtual ~UnitSharing() = default;
    // The units 0..count-1 of the next search, shared among the processes.
    virtual std::unique_ptr<UnitQueue> share(int count) = 0;
    // Adds the values up, element by element, over every process; every process gets the sums.
    virtual void sum(std::span<std::int64_t> values) = 0;
    // Every process's words one after another, in process order, on every process.
    virtual std::vector<std::int32_t> gather(std::span<const std::int32_t> words) = 0;
};

// A fixed-point sum, exact in any order.
__extension__ typedef __int128 FixedPointSum;

// Adds the sums up over every process exactly; every process gets the totals.
void SumOverProcesses(UnitSharing& sharing, std::span<FixedPointSum> sums);

// Cells of which each was written by one process and is zero (every bit clear) on the others:
// every process gets every cell, bit for bit.
void JoinCells(UnitSharing& sharing, std::span<double> cells);
void JoinCells(UnitSharing& sharing, std::span<std::int32_t> cells);

} // namespace vantrel::analysis

// The searches shared among processes through UnitSharing give what one process gives, bit for
// bit; the processes are threads here, each dealt every third unit.
#include "core/analysis/choice.h"
#include "core/analysis/depths.h"

#include "support/map_generators.h"

#include <gtest/gtest.h>

#include <barrier>
#include <functional>
#include <random>
#include <thread>

namespace vantrel::analysis {
namespace {

constexpr int kProcesses = 3;

// What the processes put together; every call meets the others at the barrier.
struct Meeting {
    std::barrier<> barrier{kProcesses};
    std::vector<std::int64_t> sums;
    std::vector<std::int32_t> words[kProcesses];
};

class DealtQueue final : public UnitQueue {
public:
    DealtQueue(int count, int process) : m_count(count), m_next(process) {}
    int next(int) override {
        const int unit = m_next;
        m_next += kProcesses;
        return unit < m_count ? unit : -1;
    }
    int finishedByAll(int finished) override { return finished; }
    void close() override {}

private:
    int m_count;
    int m_next;
};

class ThreadSharing final : public UnitSharing {
public:
    ThreadSharing(Meeting& meeting, int process) : m_meeting(meeting), m_process(process) {}

    std::unique_ptr<UnitQueue> share(int count) override {
        return std::make_unique<DealtQueue>(count, m_process);
    }
    void sum(std::span<std::int64_t> values) override {
        if (m_process == 0)
            m_meeting.sums.assign(values.size(), 0);
        m_meeting.barrier.arrive_and_wait();
        for (int turn = 0; turn < kProcesses; ++turn) {
            if (turn == m_process)
                std::transform(values.begin(), values.end(), m_meeting.sums.begin(),
                               m_meeting.sums.begin(), std::plus<>());
            m_meeting.barrier.arrive_and_wait();
        }
        std::copy(m_meeting.sums.begin(), m_meeting.sums.end(), values.begin());
        m_meeting.barrier.arrive_and_wait();
    }
    std::vector<std::int32_t> gather(std::span<const std::int32_t> words) override {
        m_meeting.words[m_process].assign(words.begin(), words.end());
        m_meeting.barrier.arrive_and_wait();
        std::vector<std::int32_t> all;
        for (const auto& own : m_meeting.words)
            all.insert(all.end(), own.begin(), own.end());
        m_meeting.barrier.arrive_and_wait();
        return all;
    }

private:
    Meeting& m_meeting;
    int m_process;
};

// Runs `compute` on every process with its own sharing; what each returns.
template <class Result>
std::vector<Result> OnEveryProcess(const std::function<Result(UnitSharing*)>& compute) {
    Meeting meeting;
    std::vector<Result> results(kProcesses);
    {
        std::vector<std::jthread> processes;
        for (int process = 0; process < kProcesses; ++process)
            processes.emplace_back([&, process] {
                ThreadSharing sharing(meeting, process);
                results[process] = compute(&sharing);
            });
    }
    return results;
}

TEST(UnitSharing, DepthsOfEveryProcessAreThoseOfOne) {
    std::mt19937 random(11);
    const auto map = maps::SeparateCopies(maps::LayeredMap(random, 32, 8), 5);
    const MapGraph graph(map.lineCount, map.junctions);
    for (const auto compute : {ComputeLineDepths, ComputeJunctionDepths}) {
        const DepthResult alone = compute(graph, {.threads = 2});
        const auto shared = OnEveryProcess<DepthResult>([&](UnitSharing* sharing) {
            return compute(graph, {.threads = 2, .sharing = sharing});
        });
        for (const DepthResult& result : shared) {
            EXPECT_EQ(result.totalDepth, alone.totalDepth);
            EXPECT_EQ(result.reached, alone.reached);
            EXPECT_EQ(result.histograms, alone.histograms);
            EXPECT_EQ(result.largestDepth, alone.largestDepth);
        }
    }
}

// Path counts past 2^53 make every rounding show; the choice sums are exact whatever the deal.
TEST(UnitSharing, ChoiceOfEveryProcessIsThatOfOneToTheLastBit) {
    std::mt19937 random(7);
    const auto map = maps::LayeredMap(random, 64, 4);
    const MapGraph graph(map.lineCount, map.junctions);
    const int radiusSteps[] = {kUnlimitedSteps, 3};
    const std::span<const int> radii(radiusSteps);
    for (const auto compute : {ComputeLineChoice, ComputeJunctionChoice}) {
        const auto alone = compute(graph, radii, {});
        const auto shared = OnEveryProcess<std::vector<std::vector<double>>>(
            [&](UnitSharing* sharing) { return compute(graph, radii, {.sharing = sharing}); });
        for (const auto& result : shared)
            EXPECT_EQ(result, alone);
    }
}

} // namespace
} // namespace vantrel::analysis

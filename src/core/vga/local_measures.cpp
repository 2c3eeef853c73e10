#include "core/vga/local_measures.h"

#include "core/analysis/parallel_units.h"

#include <cmath>
#include <deque>
#include <mutex>

namespace vantrel::vga {

namespace {

constexpr int kPointsPerUnit = 64;

// N(x) of one point as counts: before(i) is how many points below i x sees, so that the part of
// any run of points that x sees is counted in two reads.
class SeenCounts {
public:
    explicit SeenCounts(int points) : m_before(static_cast<std::size_t>(points) + 1, 0) {}

    void fill(std::span<const PointRun> runs) {
        if (runs.empty()) {
            m_low = 0;
            m_high = -1;
            return;
        }
        m_low = runs.front().first;
        m_high = runs.back().last;
        std::int32_t count = 0, at = m_low;
        for (const PointRun& run : runs) {
            for (; at < run.first; ++at)
                m_before[static_cast<std::size_t>(at - m_low)] = count;
            for (; at <= run.last; ++at)
                m_before[static_cast<std::size_t>(at - m_low)] = count++;
        }
        m_before[static_cast<std::size_t>(at - m_low)] = count;
    }

    // How many points of the ascending runs the set holds.
    std::int64_t countIn(std::span<const PointRun> runs) const {
        std::int64_t count = 0;
        for (const PointRun& run : runs) {
            if (run.last < m_low)
                continue;
            if (run.first > m_high)
                break;
            const std::int32_t first = std::max(run.first, m_low);
            const std::int32_t last = std::min(run.last, m_high);
            count += m_before[static_cast<std::size_t>(last + 1 - m_low)] -
                     m_before[static_cast<std::size_t>(first - m_low)];
        }
        return count;
    }

private:
    std::vector<std::int32_t> m_before;
    std::int32_t m_low = 0, m_high = -1;
};

// What the points of one thread find about pairs, for both points of each pair.
struct PairTally {
    explicit PairTally(int points)
        : shared(static_cast<std::size_t>(points), 0), seenByNeighbours(shared.size(), 0) {}
    // Per point x, the sum over y in N(x) of |N(y) and N(x)|.
    std::vector<std::int64_t> shared;
    // Per point x, how many y in N(x) see another point of N(x).
    std::vector<std::int32_t> seenByNeighbours;
};

} // namespace

LocalMeasures ComputeLocalMeasures(const PointGrid& grid, const VisibilityGraph& graph,
                                   const analysis::DepthHistograms& histograms, int threads,
                                   Progress* progress) {
    const int count = graph.pointCount();
    const auto size = static_cast<std::size_t>(count);
    LocalMeasures measures;
    measures.firstMoment.resize(size);
    measures.secondMoment.resize(size);
    measures.clustering.resize(size);
    measures.control.resize(size);
    measures.controllability.resize(size);
    std::mutex mutex;
    // A deque, so that a thread adding its tally moves no other thread's.
    std::deque<PairTally> tallies;
    const int units = (count + kPointsPerUnit - 1) / kPointsPerUnit;
    analysis::RunUnits(units, threads, progress, [&] {
        PairTally* tally = nullptr;
        {
            const std::lock_guard lock(mutex);
            tally = &tallies.emplace_back(count);
        }
        return [&, tally, seen = SeenCounts(count)](int unit) mutable {
            const int last = std::min(count, (unit + 1) * kPointsPerUnit);
            for (int point = unit * kPointsPerUnit; point < last; ++point) {
                const auto index = static_cast<std::size_t>(point);
                const DoublePoint from = grid.location(point);
                const std::span<const PointRun> runs = graph.runsOf(point);
                seen.fill(runs);
                double first = 0, second = 0, control = 0;
                for (const PointRun& run : runs) {
                    for (std::int32_t other = run.first; other <= run.last; ++other) {
                        const DoublePoint to = grid.location(other);
                        const double dx = to.x - from.x, dy = to.y - from.y;
                        const double squared = dx * dx + dy * dy;
                        first += std::sqrt(squared);
                        second += squared;
                        control += 1.0 / graph.connectivity(other);
                        // |N(y) and N(x)| is the same both ways: each pair counts once.
                        if (other < point)
                            continue;
                        const std::int64_t common = seen.countIn(graph.runsOf(other));
                        const auto otherIndex = static_cast<std::size_t>(other);
                        tally->shared[index] += common;
                        tally->shared[otherIndex] += common;
                        tally->seenByNeighbours[index] += common > 0;
                        tally->seenByNeighbours[otherIndex] += common > 0;
                    }
                }
                measures.firstMoment[index] = first;
                measures.secondMoment[index] = second;
                if (graph.connectivity(point) > 1)
                    measures.control[index] = control;
            }
        };
    });
    for (int point = 0; point < count; ++point) {
        const auto index = static_cast<std::size_t>(point);
        const double k = graph.connectivity(point);
        if (k <= 1)
            continue;
        std::int64_t shared = 0, seenByNeighbours = 0;
        for (const PairTally& tally : tallies) {
            shared += tally.shared[index];
            seenByNeighbours += tally.seenByNeighbours[index];
        }
        const auto atDepth = histograms.of(point);
        const std::int64_t secondDepth = atDepth.size() > 1 ? atDepth[1] : 0;
        measures.clustering[index] = static_cast<double>(shared) / (k * (k - 1));
        measures.controllability[index] =
            k / static_cast<double>(secondDepth + 1 + seenByNeighbours);
    }
    return measures;
}

} // namespace vantrel::vga

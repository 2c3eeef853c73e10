#include "core/vga/local_measures.h"

#include "core/analysis/parallel_units.h"

#include <bit>
#include <cmath>

namespace vantrel::vga {

namespace {

constexpr int kPointsPerUnit = 64;

// N(x) of one point as bits, with counts at every word, so that the part of any run of points
// that x sees is counted in two reads.
class SeenSet {
public:
    explicit SeenSet(int points)
        : m_words((static_cast<std::size_t>(points) + 63) / 64 + 1, 0),
          m_before(m_words.size() + 1, 0) {}

    void fill(std::span<const PointRun> runs) {
        m_runs = runs;
        if (runs.empty())
            return;
        m_firstWord = static_cast<std::size_t>(runs.front().first) / 64;
        m_lastWord = static_cast<std::size_t>(runs.back().last) / 64;
        for (const PointRun& run : runs)
            for (std::int32_t point = run.first; point <= run.last; ++point)
                m_words[static_cast<std::size_t>(point) / 64] |= std::uint64_t{1} << (point % 64);
        m_before[m_firstWord] = 0;
        for (std::size_t word = m_firstWord; word <= m_lastWord; ++word)
            m_before[word + 1] = m_before[word] + std::popcount(m_words[word]);
    }

    void clear() {
        for (const PointRun& run : m_runs)
            for (std::int32_t point = run.first; point <= run.last; ++point)
                m_words[static_cast<std::size_t>(point) / 64] = 0;
        m_runs = {};
    }

    // How many of the points first .. last are in the set.
    std::int64_t countIn(std::int32_t first, std::int32_t last) const {
        const auto low = static_cast<std::int32_t>(m_firstWord * 64);
        const auto high = static_cast<std::int32_t>(m_lastWord * 64 + 63);
        first = std::max(first, low);
        last = std::min(last, high);
        return first > last ? 0 : below(last + 1) - below(first);
    }

private:
    // How many set points lie below the point, which lies within the words of the set (or just
    // past them).
    std::int64_t below(std::int32_t point) const {
        const std::size_t word = static_cast<std::size_t>(point) / 64;
        const std::uint64_t mask = (std::uint64_t{1} << (point % 64)) - 1;
        return m_before[word] + std::popcount(m_words[word] & mask);
    }

    std::vector<std::uint64_t> m_words;
    std::vector<std::int64_t> m_before;
    std::span<const PointRun> m_runs;
    std::size_t m_firstWord = 0, m_lastWord = 0;
};

} // namespace

LocalMeasures ComputeLocalMeasures(const PointGrid& grid, const VisibilityGraph& graph,
                                   const analysis::DepthHistograms& histograms, int threads,
                                   Progress* progress) {
    const int count = graph.pointCount();
    LocalMeasures measures;
    measures.firstMoment.resize(static_cast<std::size_t>(count));
    measures.secondMoment.resize(static_cast<std::size_t>(count));
    measures.clustering.resize(static_cast<std::size_t>(count));
    measures.control.resize(static_cast<std::size_t>(count));
    measures.controllability.resize(static_cast<std::size_t>(count));
    const int units = (count + kPointsPerUnit - 1) / kPointsPerUnit;
    analysis::RunUnits(units, threads, progress, [&] {
        return [&, seen = SeenSet(count)](int unit) mutable {
            const int last = std::min(count, (unit + 1) * kPointsPerUnit);
            for (int point = unit * kPointsPerUnit; point < last; ++point) {
                const auto index = static_cast<std::size_t>(point);
                const DoublePoint from = grid.location(point);
                const std::span<const PointRun> runs = graph.runsOf(point);
                seen.fill(runs);
                double first = 0, second = 0, control = 0;
                std::int64_t shared = 0, seenByNeighbours = 0;
                for (const PointRun& run : runs) {
                    for (std::int32_t other = run.first; other <= run.last; ++other) {
                        const DoublePoint to = grid.location(other);
                        const double dx = to.x - from.x, dy = to.y - from.y;
                        const double squared = dx * dx + dy * dy;
                        first += std::sqrt(squared);
                        second += squared;
                        control += 1.0 / graph.connectivity(other);
                        std::int64_t common = 0;
                        for (const PointRun& theirs : graph.runsOf(other))
                            common += seen.countIn(theirs.first, theirs.last);
                        shared += common;
                        seenByNeighbours += common > 0;
                    }
                }
                seen.clear();
                measures.firstMoment[index] = first;
                measures.secondMoment[index] = second;
                const double k = graph.connectivity(point);
                if (k > 1) {
                    const auto atDepth = histograms.of(point);
                    const std::int64_t secondDepth = atDepth.size() > 1 ? atDepth[1] : 0;
                    measures.clustering[index] = static_cast<double>(shared) / (k * (k - 1));
                    measures.control[index] = control;
                    measures.controllability[index] =
                        k / static_cast<double>(secondDepth + 1 + seenByNeighbours);
                }
            }
        };
    });
    return measures;
}

} // namespace vantrel::vga

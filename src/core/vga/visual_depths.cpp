#include "core/vga/visual_depths.h"

#include "core/analysis/line_waves.h"
#include "core/analysis/parallel_units.h"
#include "core/analysis/plane_counts.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>

namespace vantrel::vga {

namespace {

using analysis::kSourcesPerWave;
using analysis::SourceBits;
// 64 counters side by side, one per source bit.
using BitCounts = analysis::PlaneCounts<SourceBits>;

// The waves of one batch of sources over the runs of the visibility graph. A run of 2^k or more
// points is the union of two stretches of 2^k points, which may overlap, as ORs allow; so a level
// can go three ways, whichever costs less:
// - push each fresh point's bits to every point it sees, which costs the points it sees;
// - push them onto the two stretches of each of its runs in a table of stretches, then hand each
//   stretch's bits down to its halves, which costs its runs and a pass over the table;
// - let every point not yet reached by all sources pull the ORs of its runs' two stretches from a
//   table of ORs over every stretch, which costs their runs and a pass to build the table.
// Pushing wins while the waves are small, pulling once they are wide.
class RunWaves {
public:
    explicit RunWaves(const VisibilityGraph& graph)
        : m_graph(graph), m_count(static_cast<std::size_t>(graph.pointCount())), m_seen(m_count, 0),
          m_fresh(m_count, 0), m_next(m_count, 0) {
        std::size_t longest = 1;
        for (int point = 0; point < graph.pointCount(); ++point) {
            for (const PointRun& run : graph.runsOf(point))
                longest = std::max(longest, static_cast<std::size_t>(run.last - run.first + 1));
            m_totalRuns += graph.runsOf(point).size();
        }
        m_levels = std::bit_width(longest);
        m_spans.resize(static_cast<std::size_t>(m_levels - 1) * m_count);
    }

    // Calls atDepth(depth, bits of the sources, point) for every point a source first reaches at
    // depth 1, 2, ..., and closeDepth() after each depth.
    template <class AtDepth, class CloseDepth>
    void search(std::span<const int> sources, AtDepth&& atDepth, CloseDepth&& closeDepth) {
        const SourceBits all = sources.size() == kSourcesPerWave
                                   ? ~SourceBits{0}
                                   : (SourceBits{1} << sources.size()) - 1;
        m_freshPoints.clear();
        for (std::size_t bit = 0; bit < sources.size(); ++bit) {
            const auto source = static_cast<std::size_t>(sources[bit]);
            if (m_fresh[source] == 0)
                m_freshPoints.push_back(sources[bit]);
            m_fresh[source] |= SourceBits{1} << bit;
            m_seen[source] |= SourceBits{1} << bit;
        }
        std::size_t unsaturatedRuns = m_totalRuns;
        for (int depth = 1; !m_freshPoints.empty(); ++depth) {
            const std::size_t tablePass = static_cast<std::size_t>(m_levels) * m_count;
            std::size_t pushCost = 0, stretchCost = tablePass;
            for (const int point : m_freshPoints) {
                pushCost += static_cast<std::size_t>(m_graph.connectivity(point));
                stretchCost += m_graph.runsOf(point).size();
            }
            const std::size_t pullCost = tablePass + unsaturatedRuns;
            if (pushCost <= std::min(stretchCost, pullCost))
                push();
            else if (stretchCost <= pullCost)
                pushStretches();
            else
                pull(all);
            for (const int point : m_freshPoints)
                m_fresh[static_cast<std::size_t>(point)] = 0;
            m_freshPoints.clear();
            for (std::size_t point = 0; point < m_count; ++point) {
                const SourceBits bits = m_next[point] & ~m_seen[point];
                m_next[point] = 0;
                if (bits == 0)
                    continue;
                m_seen[point] |= bits;
                if (m_seen[point] == all)
                    unsaturatedRuns -= m_graph.runsOf(static_cast<int>(point)).size();
                m_fresh[point] = bits;
                m_freshPoints.push_back(static_cast<int>(point));
                atDepth(depth, bits, static_cast<int>(point));
            }
            closeDepth();
        }
        std::fill(m_seen.begin(), m_seen.end(), 0);
    }

private:
    void push() {
        for (const int point : m_freshPoints) {
            const SourceBits bits = m_fresh[static_cast<std::size_t>(point)];
            for (const PointRun& run : m_graph.runsOf(point))
                for (std::int32_t other = run.first; other <= run.last; ++other)
                    m_next[static_cast<std::size_t>(other)] |= bits;
        }
    }

    // Level k > 0 of the table takes the bits for points i .. i + 2^k - 1; level 0 is the next
    // level's bits. The table is all 0 again afterwards.
    void pushStretches() {
        for (const int point : m_freshPoints) {
            const SourceBits bits = m_fresh[static_cast<std::size_t>(point)];
            for (const PointRun& run : m_graph.runsOf(point)) {
                const auto length = static_cast<std::size_t>(run.last - run.first + 1);
                const int level = std::bit_width(length) - 1;
                SourceBits* table = stretches(level);
                table[static_cast<std::size_t>(run.first)] |= bits;
                table[static_cast<std::size_t>(run.last) + 1 - (std::size_t{1} << level)] |= bits;
            }
        }
        for (int level = m_levels - 1; level >= 1; --level) {
            SourceBits* here = stretches(level);
            SourceBits* below = stretches(level - 1);
            const std::size_t half = std::size_t{1} << (level - 1);
            for (std::size_t point = 0; point < m_count; ++point) {
                if (here[point] == 0)
                    continue;
                below[point] |= here[point];
                below[point + half] |= here[point];
                here[point] = 0;
            }
        }
    }

    SourceBits* stretches(int level) {
        return level == 0 ? m_next.data()
                          : m_spans.data() + static_cast<std::size_t>(level - 1) * m_count;
    }

    // Level k of the table holds the OR of the fresh bits of points i .. i + 2^k - 1.
    const SourceBits* span(int level) const {
        return level == 0 ? m_fresh.data()
                          : m_spans.data() + static_cast<std::size_t>(level - 1) * m_count;
    }

    void pull(SourceBits all) {
        for (int level = 1; level < m_levels; ++level) {
            const SourceBits* below = span(level - 1);
            SourceBits* here = m_spans.data() + static_cast<std::size_t>(level - 1) * m_count;
            const std::size_t half = std::size_t{1} << (level - 1);
            const std::size_t full = m_count > half ? m_count - half : 0;
            for (std::size_t point = 0; point < full; ++point)
                here[point] = below[point] | below[point + half];
            for (std::size_t point = full; point < m_count; ++point)
                here[point] = below[point];
        }
        for (std::size_t point = 0; point < m_count; ++point) {
            if (m_seen[point] == all)
                continue;
            SourceBits bits = 0;
            for (const PointRun& run : m_graph.runsOf(static_cast<int>(point))) {
                const auto length = static_cast<std::size_t>(run.last - run.first + 1);
                const int level = std::bit_width(length) - 1;
                const SourceBits* table = span(level);
                bits |= table[static_cast<std::size_t>(run.first)] |
                        table[static_cast<std::size_t>(run.last) + 1 - (std::size_t{1} << level)];
            }
            m_next[point] = bits;
        }
        std::fill(m_spans.begin(), m_spans.end(), 0);
    }

    const VisibilityGraph& m_graph;
    std::size_t m_count;
    std::vector<SourceBits> m_seen;
    std::vector<SourceBits> m_fresh;
    std::vector<SourceBits> m_next;
    std::vector<SourceBits> m_spans;
    std::vector<int> m_freshPoints;
    std::size_t m_totalRuns = 0;
    int m_levels = 1;
};

} // namespace

VisualDepths ComputeVisualDepths(const VisibilityGraph& graph, const SearchOptions& options) {
    const int count = graph.pointCount();
    const int batches = (count + kSourcesPerWave - 1) / kSourcesPerWave;
    std::vector<std::vector<std::int32_t>> counts(static_cast<std::size_t>(count));
    std::vector<int> sources(static_cast<std::size_t>(count));
    for (int point = 0; point < count; ++point)
        sources[static_cast<std::size_t>(point)] = point;
    analysis::RunUnits(batches, options.threads, options.progress, [&] {
        return [&, waves = RunWaves(graph), atDepth = BitCounts()](int batch) mutable {
            const int first = batch * kSourcesPerWave;
            const std::span<const int> batchSources(sources.data() + first,
                                                    std::min(kSourcesPerWave, count - first));
            waves.search(
                batchSources, [&](int, SourceBits bits, int) { atDepth.add(bits); },
                [&] {
                    atDepth.drain(
                        static_cast<int>(batchSources.size()), [&](int bit, std::int32_t reached) {
                            counts[static_cast<std::size_t>(first + bit)].push_back(reached);
                        });
                });
            for (const int source : batchSources) {
                auto& atDepths = counts[static_cast<std::size_t>(source)];
                while (!atDepths.empty() && atDepths.back() == 0)
                    atDepths.pop_back();
            }
        };
    });
    VisualDepths depths;
    for (auto& atDepths : counts) {
        depths.largestDepth = std::max(depths.largestDepth, static_cast<int>(atDepths.size()));
        depths.histograms.append(atDepths);
        std::vector<std::int32_t>().swap(atDepths);
    }
    return depths;
}

std::vector<std::int32_t> VisualStepDepths(const VisibilityGraph& graph,
                                           std::span<const int> origins) {
    std::vector<std::int32_t> depth(static_cast<std::size_t>(graph.pointCount()), -1);
    std::vector<int> level, next;
    for (const int origin : origins) {
        if (depth[static_cast<std::size_t>(origin)] != 0) {
            depth[static_cast<std::size_t>(origin)] = 0;
            level.push_back(origin);
        }
    }
    for (std::int32_t steps = 1; !level.empty(); ++steps) {
        for (const int point : level)
            for (const PointRun& run : graph.runsOf(point))
                for (std::int32_t other = run.first; other <= run.last; ++other)
                    if (depth[static_cast<std::size_t>(other)] < 0) {
                        depth[static_cast<std::size_t>(other)] = steps;
                        next.push_back(other);
                    }
        level.swap(next);
        next.clear();
    }
    return depth;
}

} // namespace vantrel::vga

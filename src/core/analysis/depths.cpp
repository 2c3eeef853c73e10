#include "core/analysis/depths.h"

#include "core/analysis/line_waves.h"
#include "core/analysis/parallel_units.h"
#include "core/analysis/source_order.h"

#include <algorithm>
#include <bit>
#include <set>
#include <stdexcept>

namespace vantrel::analysis {
namespace {

using Counts = std::vector<std::vector<std::int32_t>>;

// Collects what one batch of sources finds, depth by depth, into each source's own counts and,
// with a full matrix, its own row.
class BatchRecorder {
public:
    BatchRecorder(std::span<const int> sources, Counts& counts, Matrix<std::int16_t>* depth)
        : m_sources(sources), m_counts(counts) {
        for (std::size_t bit = 0; depth && bit < sources.size(); ++bit) {
            m_rows[bit] = depth->row(sources[bit]);
        }
    }

    // The sources of the bits reach the item at the depth being recorded.
    void record(int item, SourceBits bits, int depth) {
        m_atDepth.add(bits);
        if (m_rows[0]) {
            for (; bits != 0; bits &= bits - 1) {
                m_rows[std::countr_zero(bits)][item] = static_cast<std::int16_t>(depth);
            }
        }
    }

    // Closes the depth being recorded; the next call of record is for one step deeper.
    void closeDepth() {
        m_atDepth.drain(static_cast<int>(m_sources.size()), [&](int bit, std::int32_t count) {
            m_counts[m_sources[bit]].push_back(count);
        });
    }

    // Takes back a source's own item, recorded at depth 1.
    void forgetSelf(int bit) {
        --m_counts[m_sources[bit]].front();
        if (m_rows[0]) {
            m_rows[bit][m_sources[bit]] = 0;
        }
    }

    // Sources that stopped short of the batch's deepest level leave zeros at the end.
    void finish() {
        for (int source : m_sources) {
            auto& counts = m_counts[source];
            while (!counts.empty() && counts.back() == 0) {
                counts.pop_back();
            }
        }
    }

private:
    std::span<const int> m_sources;
    Counts& m_counts;
    std::int16_t* m_rows[kSourcesPerWave] = {};
    BitCounts m_atDepth;
};

void searchFromLines(const MapGraph& graph, LineWaves& waves, BatchRecorder& recorder,
                     std::span<const int> sources) {
    for (std::size_t bit = 0; bit < sources.size(); ++bit) {
        waves.start(sources[bit], static_cast<int>(bit));
    }
    for (int level = 0; !waves.lines().empty(); ++level) {
        for (int line : waves.lines()) {
            const SourceBits bits = waves.fresh(line);
            if (level > 0) {
                recorder.record(line, bits, level);
            }
            for (int neighbour : graph.neighbours(line)) {
                waves.reach(neighbour, bits);
            }
        }
        if (level > 0) {
            recorder.closeDepth();
        }
        waves.nextLevel();
    }
    recorder.finish();
}

// The depth of junction b from junction a is 1 + the smallest line depth from a line of a to a
// line of b, so the search starts from both lines of a at level 0 and reaches b at the level of
// the first of its lines. A junction whose two lines are reached at the same level is recorded
// from the lower-numbered one.
void searchFromJunctions(const MapGraph& graph, LineWaves& waves, BatchRecorder& recorder,
                         std::span<const int> sources) {
    for (std::size_t bit = 0; bit < sources.size(); ++bit) {
        for (int line : graph.linesOf(sources[bit])) {
            waves.start(line, static_cast<int>(bit));
        }
    }
    for (int level = 0; !waves.lines().empty(); ++level) {
        for (int line : waves.lines()) {
            const SourceBits bits = waves.fresh(line);
            const auto junctions = graph.junctionsOn(line);
            const auto across = graph.linesAcross(line);
            for (std::size_t i = 0; i < junctions.size(); ++i) {
                SourceBits first = bits;
                if (const int other = across[i]; other >= 0) {
                    const SourceBits sameLevel = other < line ? waves.fresh(other) : 0;
                    first &= ~(waves.seenBefore(other) | sameLevel);
                    waves.reach(other, bits);
                }
                if (first != 0) {
                    recorder.record(junctions[i], first, level + 1);
                }
            }
        }
        recorder.closeDepth();
        waves.nextLevel();
    }
    for (std::size_t bit = 0; bit < sources.size(); ++bit) {
        if (!graph.linesOf(sources[bit]).empty()) {
            recorder.forgetSelf(static_cast<int>(bit));
        }
    }
    recorder.finish();
}

template <class SearchBatch>
DepthResult searchFromEvery(const MapGraph& graph, const std::vector<int>& order,
                            const DepthOptions& options, SearchBatch searchBatch) {
    const int count = static_cast<int>(order.size());
    if (options.fullMatrix && count > kMaxFullMatrixItems) {
        throw std::invalid_argument("too many items for a full depth matrix");
    }
    DepthResult result;
    Matrix<std::int16_t>* depth = nullptr;
    if (options.fullMatrix) {
        result.depth = Matrix<std::int16_t>(count, count);
        depth = &result.depth;
    }

    Counts counts(count);
    const int batches = (count + kSourcesPerWave - 1) / kSourcesPerWave;
    RunUnits(batches, options.threads, options.progress, [&] {
        return [&, waves = LineWaves(graph)](int batch) mutable {
            const int first = batch * kSourcesPerWave;
            const std::span<const int> sources(order.data() + first,
                                               std::min(kSourcesPerWave, count - first));
            BatchRecorder recorder(sources, counts, depth);
            searchBatch(graph, waves, recorder, sources);
        };
    });

    result.totalDepth.resize(count);
    result.reached.resize(count);
    for (int index = 0; index < count; ++index) {
        auto& atDepth = counts[index];
        for (std::size_t depth = 1; depth <= atDepth.size(); ++depth) {
            result.totalDepth[index] += static_cast<std::int64_t>(depth) * atDepth[depth - 1];
            result.reached[index] += atDepth[depth - 1];
        }
        result.largestDepth = std::max(result.largestDepth, static_cast<int>(atDepth.size()));
        result.histograms.append(atDepth);
        std::vector<std::int32_t>().swap(atDepth);
    }

    if (options.fullMatrix) {
        result.radius3Depth = result.depth;
        std::int16_t* cells = result.radius3Depth.row(0);
        for (std::size_t cell = 0; cell < std::size_t(count) * count; ++cell) {
            cells[cell] = cells[cell] <= 3 ? cells[cell] : std::int16_t{0};
        }
    }
    return result;
}

} // namespace

DepthResult ComputeLineDepths(const MapGraph& graph, const DepthOptions& options) {
    return searchFromEvery(graph, ClusteredLines(graph), options, searchFromLines);
}

DepthResult ComputeJunctionDepths(const MapGraph& graph, const DepthOptions& options) {
    return searchFromEvery(graph, ClusteredJunctions(graph), options, searchFromJunctions);
}

std::chrono::duration<double> EstimateJunctionDepthsTime(const MapGraph& graph, int threads) {
    const std::vector<int> order = ClusteredJunctions(graph);
    const int count = static_cast<int>(order.size());
    const int batches = (count + kSourcesPerWave - 1) / kSourcesPerWave;
    if (batches == 0)
        return {};
    Counts counts(count);
    LineWaves waves(graph);
    const auto started = std::chrono::steady_clock::now();
    const std::set<int> sampled = {0, batches / 2};
    for (const int batch : sampled) {
        const int first = batch * kSourcesPerWave;
        const std::span<const int> sources(order.data() + first,
                                           std::min(kSourcesPerWave, count - first));
        BatchRecorder recorder(sources, counts, nullptr);
        searchFromJunctions(graph, waves, recorder, sources);
    }
    const std::chrono::duration<double> perBatch =
        (std::chrono::steady_clock::now() - started) / static_cast<double>(sampled.size());
    return perBatch * batches / std::max(1, std::min(threads, batches));
}

} // namespace vantrel::analysis

#include "core/analysis/depths.h"

#include "core/analysis/depth_waves.h"
#include "core/analysis/parallel_units.h"
#include "core/analysis/plane_counts.h"
#include "core/analysis/source_order.h"
#include "core/analysis/source_words.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <stdexcept>
#include <type_traits>

namespace vantrel::analysis {
namespace {

using Counts = std::vector<std::vector<std::int32_t>>;

// Collects what one batch of sources finds, depth by depth, into each source's own counts and,
// with rows, its own row of the depth matrix.
template <class Word, bool kRows> class BatchRecorder {
public:
    BatchRecorder(std::span<const int> sources, Counts& counts, Matrix<std::int16_t>* depth)
        : m_sources(sources), m_counts(counts) {
        for (std::size_t bit = 0; kRows && bit < sources.size(); ++bit)
            m_rows[bit] = depth->row(sources[bit]);
    }

    // The sources of the bits first reach the item at the depth being recorded.
    void add(int item, const Word& bits) {
        m_atDepth.add(bits);
        if constexpr (kRows) {
            ForEachSourceBit(bits, [&](int bit) { m_rows[bit][item] = m_depth; });
        }
    }

    // Closes the depth being recorded; the next call of add is for one step deeper.
    void closeDepth() {
        m_atDepth.drain(static_cast<int>(m_sources.size()), [&](int bit, std::int32_t count) {
            m_counts[m_sources[bit]].push_back(count);
        });
        ++m_depth;
    }

    // Takes back a source's own item, recorded at depth 1.
    void forgetSelf(int bit) {
        --m_counts[m_sources[bit]].front();
        if constexpr (kRows) {
            m_rows[bit][m_sources[bit]] = 0;
        }
    }

    // Sources that stopped short of the batch's deepest level leave zeros at the end.
    void finish() {
        for (const int source : m_sources) {
            auto& counts = m_counts[source];
            while (!counts.empty() && counts.back() == 0)
                counts.pop_back();
        }
    }

private:
    std::span<const int> m_sources;
    Counts& m_counts;
    std::int16_t* m_rows[kWordSources<Word>] = {};
    std::int16_t m_depth = 1;
    PlaneCounts<Word> m_atDepth;
};

// What the searches need: the layout of the lines, and the batches of sources, each source as the
// map numbers it and as the search starts it.
struct LineSources {
    SourceBatches batches;
    LineLayout layout;
    std::vector<int> positions;
    LineSources(const MapGraph& graph, std::size_t batchSize)
        : batches(LineBatches(graph, batchSize)), layout(graph, batches.order) {
        for (const int line : batches.order)
            positions.push_back(layout.positionOf(line));
    }
};

struct JunctionSources {
    SourceBatches batches;
    LineLayout layout;
    std::vector<std::array<int, 2>> lines;
    JunctionSources(const MapGraph& graph, std::size_t batchSize)
        : batches(JunctionBatches(graph, batchSize)),
          layout(graph, LineBatches(graph, batchSize).order) {
        for (const int junction : batches.order) {
            std::array<int, 2> positions = {-1, -1};
            const auto on = graph.linesOf(junction);
            for (std::size_t i = 0; i < on.size(); ++i)
                positions[i] = layout.positionOf(on[i]);
            lines.push_back(positions);
        }
    }
};

// Each source's counts were found by one process; the others hold none for it. Every process
// sends its own as (source, length, counts...) and takes the others'.
void GatherCounts(UnitSharing& sharing, Counts& counts) {
    std::vector<std::int32_t> own;
    for (std::size_t source = 0; source < counts.size(); ++source) {
        if (counts[source].empty())
            continue;
        own.push_back(static_cast<std::int32_t>(source));
        own.push_back(static_cast<std::int32_t>(counts[source].size()));
        own.insert(own.end(), counts[source].begin(), counts[source].end());
    }
    const std::vector<std::int32_t> all = sharing.gather(own);
    std::vector<std::int32_t>().swap(own);
    for (std::size_t at = 0; at < all.size();) {
        const auto source = static_cast<std::size_t>(all[at]);
        const auto length = static_cast<std::size_t>(all[at + 1]);
        counts[source].assign(all.begin() + at + 2, all.begin() + at + 2 + length);
        at += 2 + length;
    }
}

template <class Word, bool kRows>
void SearchBatch(DepthWaves<Word>& waves, const LineSources& sources, int first, int count,
                 Counts& counts, Matrix<std::int16_t>* depth) {
    BatchRecorder<Word, kRows> recorder({sources.batches.order.data() + first, std::size_t(count)},
                                        counts, depth);
    waves.searchLines({sources.positions.data() + first, std::size_t(count)}, recorder);
    recorder.finish();
}

template <class Word, bool kRows>
void SearchBatch(DepthWaves<Word>& waves, const JunctionSources& sources, int first, int count,
                 Counts& counts, Matrix<std::int16_t>* depth) {
    BatchRecorder<Word, kRows> recorder({sources.batches.order.data() + first, std::size_t(count)},
                                        counts, depth);
    const std::span<const std::array<int, 2>> lines(sources.lines.data() + first, count);
    waves.searchJunctions(lines, recorder);
    for (int bit = 0; bit < count; ++bit) {
        if (lines[bit][0] >= 0)
            recorder.forgetSelf(bit);
    }
    recorder.finish();
}

#if defined(__x86_64__)
// Four words side by side are searched with AVX2 instructions whatever the build's target; this is
// only called where the processor has them.
template <bool kRows, class Sources>
[[gnu::target("avx2,bmi,bmi2,popcnt"), gnu::flatten]] void
SearchBatchAvx2(DepthWaves<SourceBits4>& waves, const Sources& sources, int first, int count,
                Counts& counts, Matrix<std::int16_t>* depth) {
    SearchBatch<SourceBits4, kRows>(waves, sources, first, count, counts, depth);
}
#endif

template <class Word, bool kRows, class Sources>
void RunBatch(DepthWaves<Word>& waves, const Sources& sources, int first, int count, Counts& counts,
              Matrix<std::int16_t>* depth) {
#if defined(__x86_64__)
    if constexpr (std::is_same_v<Word, SourceBits4>) {
        SearchBatchAvx2<kRows>(waves, sources, first, count, counts, depth);
        return;
    }
#endif
    SearchBatch<Word, kRows>(waves, sources, first, count, counts, depth);
}

template <class Word, class Sources>
DepthResult SearchFromEvery(const Sources& sources, int count, const DepthOptions& options) {
    if (options.fullMatrix && count > kMaxFullMatrixItems) {
        throw std::invalid_argument("too many items for a full depth matrix");
    }
    if (options.fullMatrix && options.sharing) {
        throw std::invalid_argument("a full depth matrix is not shared among processes");
    }
    DepthResult result;
    Matrix<std::int16_t>* depth = nullptr;
    if (options.fullMatrix) {
        result.depth = Matrix<std::int16_t>(count, count);
        depth = &result.depth;
    }

    Counts counts(count);
    const SourceBatches& batches = sources.batches;
    RunUnits(batches.count(), options.threads, options.progress, options.sharing, [&] {
        return [&, waves = DepthWaves<Word>(sources.layout)](int batch) mutable {
            const auto first = static_cast<int>(batches.starts[batch]);
            const auto size = static_cast<int>(batches.starts[batch + 1]) - first;
            if (depth)
                RunBatch<Word, true>(waves, sources, first, size, counts, depth);
            else
                RunBatch<Word, false>(waves, sources, first, size, counts, depth);
        };
    });
    if (options.sharing)
        GatherCounts(*options.sharing, counts);

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

bool HasAvx2() {
#if defined(__x86_64__)
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2") &&
           __builtin_cpu_supports("popcnt");
#else
    return false;
#endif
}

// Calls compute(std::type_identity<Word>) with the widest words the processor and the options
// allow.
template <class Compute> auto WithWidestWords(SourceWords words, Compute&& compute) {
    if (words == SourceWords::Widest && HasAvx2())
        return compute(std::type_identity<SourceBits4>{});
    return compute(std::type_identity<SourceBits2>{});
}

} // namespace

DepthResult ComputeLineDepths(const MapGraph& graph, const DepthOptions& options) {
    return WithWidestWords(options.words, [&]<class Word>(std::type_identity<Word>) {
        const LineSources sources(graph, kWordSources<Word>);
        return SearchFromEvery<Word>(sources, graph.lineCount(), options);
    });
}

DepthResult ComputeJunctionDepths(const MapGraph& graph, const DepthOptions& options) {
    return WithWidestWords(options.words, [&]<class Word>(std::type_identity<Word>) {
        const JunctionSources sources(graph, kWordSources<Word>);
        return SearchFromEvery<Word>(sources, graph.junctionCount(), options);
    });
}

std::chrono::duration<double> EstimateJunctionDepthsTime(const MapGraph& graph, int threads) {
    return WithWidestWords(SourceWords::Widest, [&]<class Word>(std::type_identity<Word>) {
        const JunctionSources sources(graph, kWordSources<Word>);
        const int batches = sources.batches.count();
        if (batches == 0)
            return std::chrono::duration<double>{};
        Counts counts(graph.junctionCount());
        DepthWaves<Word> waves(sources.layout);
        const auto started = std::chrono::steady_clock::now();
        const std::set<int> sampled = {0, batches / 2};
        for (const int batch : sampled) {
            const auto first = static_cast<int>(sources.batches.starts[batch]);
            RunBatch<Word, false>(waves, sources, first,
                                  static_cast<int>(sources.batches.starts[batch + 1]) - first,
                                  counts, nullptr);
        }
        const std::chrono::duration<double> perBatch =
            (std::chrono::steady_clock::now() - started) / static_cast<double>(sampled.size());
        return perBatch * batches / std::max(1, std::min(threads, batches));
    });
}

} // namespace vantrel::analysis

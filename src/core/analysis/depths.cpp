#include "core/analysis/depths.h"

#include "core/analysis/depth_search.h"
#include "core/analysis/parallel_sources.h"

#include <algorithm>
#include <stdexcept>

namespace vantrel::analysis {
namespace {

template <class Search>
DepthResult searchFromEvery(const MapGraph& graph, const DepthOptions& options) {
    const int count = Search::itemCount(graph);
    if (options.fullMatrix && count > kMaxFullMatrixItems) {
        throw std::invalid_argument("too many items for a full depth matrix");
    }
    DepthResult result;
    if (options.fullMatrix) {
        result.depth = Matrix<std::int16_t>(count, count);
    }

    std::vector<std::vector<std::int32_t>> counts(count);
    RunSources(count, options.threads, options.progress, [&] {
        return [&, search = Search(graph)](int source) mutable {
            auto& atDepth = counts[source];
            std::int16_t* row = options.fullMatrix ? result.depth.row(source) : nullptr;
            search.run(source, [&](int item, int depth) {
                if (static_cast<std::size_t>(depth) > atDepth.size()) {
                    atDepth.push_back(0);
                }
                ++atDepth[depth - 1];
                if (row) {
                    row[item] = static_cast<std::int16_t>(depth);
                }
            });
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
        for (int row = 0; row < count; ++row) {
            std::int16_t* cells = result.radius3Depth.row(row);
            std::replace_if(cells, cells + count, [](std::int16_t depth) { return depth > 3; },
                            std::int16_t{0});
        }
    }
    return result;
}

} // namespace

DepthResult ComputeLineDepths(const MapGraph& graph, const DepthOptions& options) {
    return searchFromEvery<LineSearch>(graph, options);
}

DepthResult ComputeJunctionDepths(const MapGraph& graph, const DepthOptions& options) {
    return searchFromEvery<JunctionSearch>(graph, options);
}

} // namespace vantrel::analysis

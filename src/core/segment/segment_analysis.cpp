#include "core/segment/segment_analysis.h"

#include "core/analysis/parallel_units.h"
#include "core/segment/segment_search.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace vantrel::segment {
namespace {

SearchLimits LimitsOf(const SearchGraph& graph, RadiusKind kind, double radius) {
    SearchLimits limits;
    if (radius == kRadiusN)
        return limits;
    switch (kind) {
    case RadiusKind::Metric:
        (graph.secondaryIsLength() ? limits.secondary : limits.primary) = graph.lengthUnits(radius);
        break;
    case RadiusKind::Angular:
        if (graph.depthKind() == DepthKind::Topological)
            throw std::invalid_argument("a topological analysis has no angular radius");
        (graph.depthKind() == DepthKind::Angular ? limits.primary : limits.secondary) =
            graph.turnUnits(radius);
        break;
    case RadiusKind::Steps:
        limits.steps = static_cast<int>(std::min(radius, 1e9));
        break;
    }
    return limits;
}

// Choice is summed over the origins in fixed point, so that the sum is the same in any order:
// each origin's share of a segment, at most twice the segment count, keeps this many bits of
// fraction in 62 bits, and the sums over all origins are 128 bits wide.
int FractionBits(int segmentCount) {
    const int whole = std::bit_width(2 * static_cast<std::uint64_t>(segmentCount) + 1);
    return std::min(52, 62 - whole);
}

__extension__ typedef __int128 FixedSum;

// A segment's two sums side by side, as a search adds to both at once.
struct SegmentSums {
    FixedSum plain = 0;
    FixedSum weighted = 0;
};

// Per radius, per place.
using ChoiceSums = std::vector<std::vector<SegmentSums>>;

class OriginTask {
public:
    OriginTask(const SearchGraph& graph, const std::vector<SearchLimits>& limits,
               const std::vector<double>& lengths, const std::vector<double>& weights,
               std::vector<RadiusResults>& results, ChoiceSums* sums, int fractionBits)
        : m_graph(graph), m_limits(limits), m_lengths(lengths), m_weights(weights),
          m_results(results), m_sums(sums), m_scale(std::ldexp(1.0, fractionBits)),
          m_search(graph, lengths) {}

    // Units are places, so that one thread's searches follow each other over the map and find
    // what they read still near at hand. Searches and sums are by place; results by segment.
    void operator()(int place) {
        const int origin = m_graph.segmentAt(place);
        for (std::size_t radius = 0; radius < m_limits.size(); ++radius) {
            m_search.run(place, m_limits[radius], m_sums != nullptr);
            count(origin, m_results[radius]);
            if (m_sums)
                shareRoutes(place, radius);
        }
    }

private:
    void count(int origin, RadiusResults& results) const {
        const Reach& reach = m_search.reach();
        const auto at = static_cast<std::size_t>(origin);
        results.nodeCount[at] = reach.nodes;
        results.totalDepth[at] = m_graph.depthOf(static_cast<double>(reach.depth));
        results.weightedTotalDepth[at] = m_graph.depthOf(reach.weightedDepth);
        results.totalLength[at] = reach.length;
    }

    // Shares are never negative; scaling by a power of two is exact, and the rounding the same
    // on every machine.
    FixedSum fixed(double value) const { return static_cast<std::int64_t>(value * m_scale + 0.5); }

    // `origin` and the segments here are places.
    void shareRoutes(int origin, std::size_t radius) {
        std::vector<SegmentSums>& sums = (*m_sums)[radius];
        const double originWeight = m_weights[static_cast<std::size_t>(origin)];
        double reachedWeight = 0;
        m_search.sharePassingRoutes(
            m_weights, [&](int state, double passing, double weightedPassing, bool destination) {
                const auto place = static_cast<std::size_t>(state / 2);
                if (destination) {
                    // Each pair credits half its weight to the destination and half to the origin.
                    reachedWeight += m_weights[place];
                    weightedPassing += m_weights[place] / 2;
                }
                if (passing != 0)
                    sums[place].plain += fixed(passing);
                if (weightedPassing != 0)
                    sums[place].weighted += fixed(originWeight * weightedPassing);
            });
        sums[static_cast<std::size_t>(origin)].weighted += fixed(originWeight * reachedWeight / 2);
    }

    const SearchGraph& m_graph;
    const std::vector<SearchLimits>& m_limits;
    const std::vector<double>& m_lengths;
    const std::vector<double>& m_weights;
    std::vector<RadiusResults>& m_results;
    ChoiceSums* m_sums;
    double m_scale;
    SegmentSearch m_search;
};

// Each origin's counts were found by one process, zero on the others; the choice sums are added
// up. The sums of all threads end up in the first, for every process alike.
void ShareResults(analysis::UnitSharing& sharing, std::vector<RadiusResults>& results,
                  std::vector<std::unique_ptr<ChoiceSums>>& threadSums) {
    for (RadiusResults& result : results) {
        analysis::JoinCells(sharing, result.nodeCount);
        for (auto* cells : {&result.totalDepth, &result.weightedTotalDepth, &result.totalLength})
            analysis::JoinCells(sharing, *cells);
    }
    if (threadSums.empty())
        return;
    ChoiceSums& all = *threadSums.front();
    for (std::size_t thread = 1; thread < threadSums.size(); ++thread) {
        for (std::size_t radius = 0; radius < all.size(); ++radius) {
            for (std::size_t place = 0; place < all[radius].size(); ++place) {
                all[radius][place].plain += (*threadSums[thread])[radius][place].plain;
                all[radius][place].weighted += (*threadSums[thread])[radius][place].weighted;
            }
        }
    }
    threadSums.resize(1);
    // The pairs of sums, one after another, are added up as one run of sums.
    static_assert(sizeof(SegmentSums) == 2 * sizeof(FixedSum));
    for (std::vector<SegmentSums>& sums : all)
        analysis::SumOverProcesses(sharing, std::span(&sums.data()->plain, 2 * sums.size()));
}

} // namespace

std::vector<RadiusResults> AnalyseSegments(const SegmentMap& map,
                                           const SegmentAnalysisOptions& options) {
    const SearchGraph graph(map, options.depth, options.tulipBins);
    const int count = map.segmentCount();
    const auto size = static_cast<std::size_t>(count);
    std::vector<SearchLimits> limits;
    std::vector<RadiusResults> results;
    for (const double radius : options.radii) {
        limits.push_back(LimitsOf(graph, options.radiusKind, radius));
        RadiusResults& result = results.emplace_back();
        result.radius = radius;
        result.nodeCount.resize(size);
        result.totalDepth.resize(size);
        result.weightedTotalDepth.resize(size);
        result.totalLength.resize(size);
    }

    // Weights are lengths over a power of two at least the longest, so that a pair's product is
    // at most 1 and scaling back is exact. Both by place.
    std::vector<double> lengths(size);
    double longest = 0;
    for (int place = 0; place < count; ++place) {
        const double length = map.segment(graph.segmentAt(place)).length;
        lengths[static_cast<std::size_t>(place)] = length;
        longest = std::max(longest, length);
    }
    int weightExponent = 0;
    if (longest > 0)
        std::frexp(longest, &weightExponent);
    std::vector<double> weights(size);
    for (std::size_t index = 0; index < size; ++index)
        weights[index] = std::ldexp(lengths[index], -weightExponent);

    const int fractionBits = FractionBits(count);
    std::mutex sumsMutex;
    std::vector<std::unique_ptr<ChoiceSums>> threadSums;
    analysis::RunUnits(count, options.threads, options.progress, options.sharing, [&] {
        ChoiceSums* sums = nullptr;
        if (options.choice) {
            auto made = std::make_unique<ChoiceSums>(limits.size(), std::vector<SegmentSums>(size));
            sums = made.get();
            const std::lock_guard lock(sumsMutex);
            threadSums.push_back(std::move(made));
        }
        return OriginTask(graph, limits, lengths, weights, results, sums, fractionBits);
    });
    if (options.sharing)
        ShareResults(*options.sharing, results, threadSums);

    if (options.choice) {
        for (std::size_t radius = 0; radius < results.size(); ++radius) {
            RadiusResults& result = results[radius];
            result.choice.resize(size);
            result.weightedChoice.resize(size);
            for (std::size_t segment = 0; segment < size; ++segment) {
                const auto place =
                    static_cast<std::size_t>(graph.placeOf(static_cast<int>(segment)));
                FixedSum plain = 0, weighted = 0;
                for (const auto& sums : threadSums) {
                    plain += (*sums)[radius][place].plain;
                    weighted += (*sums)[radius][place].weighted;
                }
                result.choice[segment] = std::ldexp(static_cast<double>(plain), -fractionBits);
                result.weightedChoice[segment] =
                    std::ldexp(static_cast<double>(weighted), 2 * weightExponent - fractionBits);
            }
        }
    }
    return results;
}

} // namespace vantrel::segment

#include "core/segment/segment_search.h"

#include <algorithm>

namespace vantrel::segment {
namespace {

// Steps dearer than this are queued in a heap rather than in buckets.
constexpr std::int64_t kLargestBucketStep = 1 << 16;
// The stamps keep the search's number in 30 bits.
constexpr std::uint32_t kLastEpoch = (1u << 30) - 1;

} // namespace

SegmentSearch::SegmentSearch(const SearchGraph& graph, std::span<const double> lengths)
    : m_graph(graph), m_lengths(lengths),
      m_buckets(graph.largestPrimaryStep() <= kLargestBucketStep),
      m_states(2 * static_cast<std::size_t>(graph.segmentCount()), State{}) {}

void SegmentSearch::run(int origin, const SearchLimits& limits, bool forChoice) {
    if (++m_epoch > kLastEpoch) {
        for (State& state : m_states)
            state.stamp = 0;
        m_epoch = 1;
    }
    m_origin = origin;
    m_countSteps = limits.steps != SearchLimits().steps;
    if (m_countSteps)
        m_steps.resize(m_states.size());
    m_settled.clear();
    // Records are written in place, a state at most once: no growing within the search.
    if (forChoice)
        m_settledRoutes.resize(m_states.size());
    m_predecessors.clear();
    m_reach = {};
    if (m_buckets)
        searchWith(origin, limits, m_bucketQueue, forChoice);
    else
        searchWith(origin, limits, m_heapQueue, forChoice);
}

void SegmentSearch::settleForChoice(State& state, std::size_t index, bool twinSettled) {
    double destinationShare = twinSettled ? 0 : 1;
    if (twinSettled) {
        // Routes to a segment whose two states tie share out between the two.
        const State& twin = m_states[index ^ 1];
        if (twin.primary == state.primary && twin.secondary == state.secondary &&
            stepsOf(static_cast<int>(index)) == stepsOf(static_cast<int>(index ^ 1))) {
            destinationShare = state.routes / (state.routes + twin.routes);
            m_settledRoutes[static_cast<std::size_t>(twin.predecessor)].destinationShare =
                twin.routes / (twin.routes + state.routes);
        }
    }
    m_settledRoutes[m_settled.size()] = {state.routes,      destinationShare, 0, 0,
                                         state.predecessor, !twinSettled};
    state.predecessor = static_cast<std::int32_t>(m_settled.size());
}

std::int32_t SegmentSearch::withPredecessor(std::int32_t predecessors, std::int32_t settled) {
    std::int32_t first = -1;
    if (predecessors >= 0) {
        m_predecessors.push_back({predecessors, -1});
        first = static_cast<std::int32_t>(m_predecessors.size()) - 1;
    } else {
        first = kFirstInList - predecessors;
    }
    m_predecessors.push_back({settled, first});
    return kFirstInList - (static_cast<std::int32_t>(m_predecessors.size()) - 1);
}

template <class Queue>
void SegmentSearch::searchWith(int origin, const SearchLimits& limits, Queue& queue,
                               bool forChoice) {
    if (m_countSteps && forChoice)
        search<Queue, true, true>(origin, limits, queue);
    else if (m_countSteps)
        search<Queue, true, false>(origin, limits, queue);
    else if (forChoice)
        search<Queue, false, true>(origin, limits, queue);
    else
        search<Queue, false, false>(origin, limits, queue);
}

template <class Queue, bool kCountSteps, bool kForChoice>
void SegmentSearch::search(int origin, const SearchLimits& limits, Queue& queue) {
    // Routes must come out in order of their secondary costs where ties or the secondary cost
    // itself count; for depths alone any order within one primary cost will do.
    queue.reset(m_graph.largestPrimaryStep(),
                kForChoice || kCountSteps || limits.secondary != SearchLimits().secondary);
    const std::uint32_t reached = m_epoch << 2;
    for (const int state : {2 * origin, 2 * origin + 1}) {
        m_states[static_cast<std::size_t>(state)] = {0, 0, 1, reached, -1};
        if constexpr (kCountSteps)
            m_steps[static_cast<std::size_t>(state)] = 0;
        queue.push(0, {0, 0, state});
    }
    std::int64_t primary = 0;
    QueuedRoute route{};
    while (queue.pop(primary, route)) {
        // A search jumps all over the map: the steps of the state settled next are fetched
        // while this one is settled, and where a state's steps begin once it is queued.
        if (const int next = queue.upcoming(); next >= 0)
            m_graph.prefetchInlineSteps(next);
        const auto index = static_cast<std::size_t>(route.state);
        State& from = m_states[index];
        // A route that was bettered since it was queued, or a state already settled.
        if ((from.stamp & kSettled) != 0 || from.primary != primary ||
            from.secondary != route.secondary || (kCountSteps && m_steps[index] != route.steps))
            continue;
        const bool twinSettled = isSettled(m_states[index ^ 1]);
        from.stamp |= kSettled | (twinSettled ? 0 : kFirst);
        if (!twinSettled) {
            const double length = m_lengths[index / 2];
            ++m_reach.nodes;
            m_reach.depth += primary;
            m_reach.length += length;
            m_reach.weightedDepth += static_cast<double>(primary) * length;
        }
        if constexpr (kForChoice)
            settleForChoice(from, index, twinSettled);
        m_settled.push_back(route.state);
        const double routes = from.routes;
        const auto fromSettled = static_cast<std::int32_t>(m_settled.size()) - 1;
        const std::int32_t nextSteps = kCountSteps ? route.steps + 1 : 0;
        if (kCountSteps && nextSteps > limits.steps)
            continue;
        const auto relax = [&](int target, StepCost cost) __attribute__((always_inline)) {
            const std::int64_t nextPrimary = primary + cost.primary;
            const std::int64_t nextSecondary = route.secondary + cost.secondary;
            if (nextPrimary > limits.primary || nextSecondary > limits.secondary)
                return;
            State& next = m_states[static_cast<std::size_t>(target)];
            if (isReached(next)) {
                if ((next.stamp & kSettled) != 0)
                    return;
                const std::int32_t nowSteps =
                    kCountSteps ? m_steps[static_cast<std::size_t>(target)] : 0;
                if (nextPrimary != next.primary       ? nextPrimary > next.primary
                    : nextSecondary != next.secondary ? nextSecondary > next.secondary
                                                      : nextSteps >= nowSteps) {
                    if (nextPrimary == next.primary && nextSecondary == next.secondary &&
                        nextSteps == nowSteps) {
                        next.routes += routes;
                        if constexpr (kForChoice)
                            next.predecessor = withPredecessor(next.predecessor, fromSettled);
                    }
                    return;
                }
            }
            next = {nextPrimary, nextSecondary, routes, reached, kForChoice ? fromSettled : -1};
            if constexpr (kCountSteps)
                m_steps[static_cast<std::size_t>(target)] = nextSteps;
            queue.push(nextPrimary, {nextSecondary, nextSteps, target});
            m_graph.prefetchInlineSteps(target);
        };
        const InlineSteps& inlined = m_graph.inlineSteps(route.state);
        if (inlined.count >= 0) {
            const int place = route.state / 2;
            for (int step = 0; step < inlined.count; ++step)
                relax(inlined.steps[step].target, m_graph.inlineCost(place, inlined.steps[step]));
            continue;
        }
        const std::int64_t end = m_graph.endStep(route.state);
        for (std::int64_t step = m_graph.firstStep(route.state); step < end; ++step)
            relax(m_graph.target(step), m_graph.cost(step));
    }
}

} // namespace vantrel::segment

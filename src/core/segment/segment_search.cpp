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
    m_settled.resize(m_states.size());
    m_settledCount = 0;
    // Records are written in place, a state at most once: no growing within the search.
    if (forChoice)
        m_settledRoutes.resize(m_states.size());
    m_predecessors.clear();
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
    m_settledRoutes[m_settledCount] = {state.routes,      destinationShare, 0, 0,
                                       state.predecessor, !twinSettled};
    state.predecessor = static_cast<std::int32_t>(m_settledCount);
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
    // Local pointers, as the compiler cannot tell that writing a state leaves the arrays where
    // they are.
    State* const states = m_states.data();
    const InlineSteps* const inlineSteps = m_graph.inlineSteps().data();
    const std::int64_t* const halves = m_graph.halfLengths().data();
    const std::uint32_t epoch = m_epoch;
    // Steps kept inline add their length to the cost it is part of.
    const bool lengthFirst = m_graph.depthKind() == DepthKind::Metric;
    Reach reach;
    std::int64_t primary = 0;
    QueuedRoute route{};
    while (queue.pop(primary, route)) {
        // A search jumps all over the map: the steps of the state settled next are fetched
        // while this one is settled, and those of a state once it is queued.
        if (const int next = queue.upcoming(); next >= 0)
            __builtin_prefetch(inlineSteps + next);
        const auto index = static_cast<std::size_t>(route.state);
        State& from = states[index];
        // A route that was bettered since it was queued, or a state already settled.
        if ((from.stamp & kSettled) != 0 || from.primary != primary ||
            from.secondary != route.secondary || (kCountSteps && m_steps[index] != route.steps))
            continue;
        const State& twin = states[index ^ 1];
        const bool twinSettled = (twin.stamp >> 2) == epoch && (twin.stamp & kSettled) != 0;
        from.stamp |= kSettled | (twinSettled ? 0 : kFirst);
        if (!twinSettled) {
            const double length = m_lengths[index / 2];
            ++reach.nodes;
            reach.depth += primary;
            reach.length += length;
            reach.weightedDepth += static_cast<double>(primary) * length;
        }
        if constexpr (kForChoice)
            settleForChoice(from, index, twinSettled);
        m_settled[m_settledCount] = route.state;
        const auto fromSettled = static_cast<std::int32_t>(m_settledCount++);
        const double routes = from.routes;
        const std::int32_t nextSteps = kCountSteps ? route.steps + 1 : 0;
        if (kCountSteps && nextSteps > limits.steps)
            continue;
        const auto relax = [&](int target, StepCost cost) __attribute__((always_inline)) {
            const std::int64_t nextPrimary = primary + cost.primary;
            const std::int64_t nextSecondary = route.secondary + cost.secondary;
            if (nextPrimary > limits.primary || nextSecondary > limits.secondary)
                return;
            State& next = states[static_cast<std::size_t>(target)];
            if ((next.stamp >> 2) == epoch) {
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
            __builtin_prefetch(inlineSteps + target);
        };
        const InlineSteps& inlined = inlineSteps[index];
        if (inlined.count >= 0) {
            const std::int64_t half = halves[index / 2];
            for (int at = 0; at < inlined.count; ++at) {
                const InlineSteps::Step step = inlined.steps[at];
                const std::int64_t length = half + halves[step.target / 2];
                relax(step.target, lengthFirst ? StepCost{length, step.other}
                                               : StepCost{step.other, length});
            }
            continue;
        }
        const std::int64_t end = m_graph.endStep(route.state);
        for (std::int64_t step = m_graph.firstStep(route.state); step < end; ++step)
            relax(m_graph.target(step), m_graph.cost(step));
    }
    m_reach = reach;
}

} // namespace vantrel::segment

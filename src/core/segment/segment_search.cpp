#include "core/segment/segment_search.h"

#include <algorithm>
#include <functional>

namespace vantrel::segment {

SegmentSearch::SegmentSearch(const SearchGraph& graph) : m_graph(graph) {
    const auto states = 2 * static_cast<std::size_t>(graph.segmentCount());
    m_seen.assign(states, 0);
    m_done.assign(states, 0);
    m_keys.resize(states);
    m_routes.resize(states);
    m_passing.resize(states);
    m_weightedPassing.resize(states);
    m_first.resize(states);
}

void SegmentSearch::offer(int state, const RouteKey& key, double routes) {
    const auto index = static_cast<std::size_t>(state);
    if (!isReached(state) || key < m_keys[index]) {
        m_seen[index] = m_epoch;
        m_keys[index] = key;
        m_routes[index] = routes;
        m_queue.push_back({key, state});
        std::push_heap(m_queue.begin(), m_queue.end(), std::greater<>());
    } else if (key == m_keys[index]) {
        m_routes[index] += routes;
    }
}

void SegmentSearch::run(int origin, const SearchLimits& limits) {
    if (++m_epoch == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        std::fill(m_done.begin(), m_done.end(), 0);
        m_epoch = 1;
    }
    m_origin = origin;
    m_countSteps = limits.steps != SearchLimits().steps;
    m_settled.clear();
    m_queue.clear();
    offer(2 * origin, {}, 1);
    offer(2 * origin + 1, {}, 1);
    while (!m_queue.empty()) {
        std::pop_heap(m_queue.begin(), m_queue.end(), std::greater<>());
        const Entry entry = m_queue.back();
        m_queue.pop_back();
        const auto index = static_cast<std::size_t>(entry.state);
        if (isSettled(entry.state) || entry.key != m_keys[index])
            continue;
        m_done[index] = m_epoch;
        m_first[index] = !isSettled(entry.state ^ 1);
        m_passing[index] = 0;
        m_weightedPassing[index] = 0;
        m_settled.push_back(entry.state);
        const double routes = m_routes[index];
        for (std::int64_t step = m_graph.firstStep(entry.state);
             step < m_graph.endStep(entry.state); ++step) {
            const StepCost cost = m_graph.cost(step);
            const RouteKey next{entry.key.primary + cost.primary,
                                entry.key.secondary + cost.secondary,
                                entry.key.steps + (m_countSteps ? 1 : 0)};
            if (next.primary > limits.primary || next.secondary > limits.secondary ||
                next.steps > limits.steps)
                continue;
            const int target = m_graph.target(step);
            if (!isSettled(target))
                offer(target, next, routes);
        }
    }
}

bool SegmentSearch::isSegmentBest(int state) const {
    return isSettled(state) && m_first[static_cast<std::size_t>(state)];
}

void SegmentSearch::sharePassingRoutes(std::span<const double> weights) {
    // Back from the farthest states: a state passes on to each state it is best reached from
    // that one's part of its routes, times what it carries (its own share as a destination and
    // all that passes through it).
    for (auto at = m_settled.rbegin(); at != m_settled.rend(); ++at) {
        const int state = *at;
        const int segment = state / 2;
        if (segment == m_origin)
            continue;
        const auto index = static_cast<std::size_t>(state);
        double destinationShare = 0;
        const int other = state ^ 1;
        if (m_first[index]) {
            destinationShare = 1;
            if (isSettled(other) && m_keys[static_cast<std::size_t>(other)] == m_keys[index])
                destinationShare =
                    m_routes[index] / (m_routes[index] + m_routes[static_cast<std::size_t>(other)]);
        } else if (m_keys[static_cast<std::size_t>(other)] == m_keys[index]) {
            destinationShare =
                m_routes[index] / (m_routes[index] + m_routes[static_cast<std::size_t>(other)]);
        }
        const double carried = (destinationShare + m_passing[index]) / m_routes[index];
        const double weightedCarried =
            (destinationShare * weights[static_cast<std::size_t>(segment)] +
             m_weightedPassing[index]) /
            m_routes[index];
        // The steps into this state are the reverses of the steps out of its twin.
        const RouteKey& key = m_keys[index];
        for (std::int64_t step = m_graph.firstStep(other); step < m_graph.endStep(other); ++step) {
            const int from = m_graph.target(step) ^ 1;
            if (!isSettled(from))
                continue;
            const auto fromIndex = static_cast<std::size_t>(from);
            const RouteKey& fromKey = m_keys[fromIndex];
            const StepCost cost = m_graph.cost(step);
            if (fromKey.primary + cost.primary != key.primary ||
                fromKey.secondary + cost.secondary != key.secondary ||
                fromKey.steps + (m_countSteps ? 1 : 0) != key.steps)
                continue;
            m_passing[fromIndex] += m_routes[fromIndex] * carried;
            m_weightedPassing[fromIndex] += m_routes[fromIndex] * weightedCarried;
        }
    }
}

} // namespace vantrel::segment

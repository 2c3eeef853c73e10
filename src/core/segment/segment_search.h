// One search of the segment graph from one origin segment: the best routes to every state
// within the limits, and how much of them passes through each segment.
#pragma once

#include "core/segment/route_queues.h"
#include "core/segment/search_graph.h"

#include <climits>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::segment {

// A step that would take a route beyond a limit is refused, and nothing is reached through it.
struct SearchLimits {
    static constexpr std::int64_t kNone = INT64_MAX / 4;
    std::int64_t primary = kNone;
    std::int64_t secondary = kNone;
    // With a limit on steps, routes of equal costs are ranked by their steps too, so that every
    // best route has the same number of steps.
    int steps = INT_MAX;
};

__extension__ typedef __int128 WideSum;

// What one search reached: the segments, the sums of their depths (in primary costs), of their
// lengths and of their depths times their lengths.
struct Reach {
    std::int32_t nodes = 0;
    WideSum depth = 0;
    double length = 0;
    double weightedDepth = 0;
};

// A route's rank: lower is better.
struct RouteKey {
    std::int64_t primary = 0;
    std::int64_t secondary = 0;
    int steps = 0;
    auto operator<=>(const RouteKey&) const = default;
};

class SegmentSearch {
public:
    // `lengths` by place, for the sums of Reach.
    SegmentSearch(const SearchGraph& graph, std::span<const double> lengths);

    // Starts from both states of `origin` and keeps every state's best routes, best by their
    // RouteKey; with `forChoice` it also keeps which states each is best reached from.
    void run(int origin, const SearchLimits& limits, bool forChoice = false);

    const Reach& reach() const { return m_reach; }
    // The states reached, in the order they were settled (by their keys).
    std::span<const int> settled() const { return {m_settled.data(), m_settledCount}; }
    bool reached(int state) const { return isSettled(m_states[static_cast<std::size_t>(state)]); }
    RouteKey key(int state) const {
        const State& record = m_states[static_cast<std::size_t>(state)];
        return {record.primary, record.secondary, stepsOf(state)};
    }
    // Whether this state is its segment's best (its first settled); of two states whose keys tie,
    // the first settled.
    bool isSegmentBest(int state) const {
        const State& record = m_states[static_cast<std::size_t>(state)];
        return isSettled(record) && (record.stamp & kFirst) != 0;
    }
    // The number of best routes to the state.
    double routes(int state) const { return m_states[static_cast<std::size_t>(state)].routes; }

    // Over every segment reached (the origin apart) as destination, each of its best routes
    // carrying an equal share of 1 (or of the destination's `weights` value, by place): how much
    // passes through each state strictly between. Routes to a segment whose two states tie share
    // out between the two. After a run for choice, tells visit(state, passing, weightedPassing,
    // isSegmentBest) for every state reached but the origin's, farthest first.
    template <class Visit> void sharePassingRoutes(std::span<const double> weights, Visit&& visit);

private:
    // What a search keeps of a state. `stamp` is the search's number times 4, plus kSettled
    // once settled and kFirst when settled before its twin.
    struct State {
        std::int64_t primary;
        std::int64_t secondary;
        double routes;
        std::uint32_t stamp;
        // Until settled, the states it is best reached from (as in SettledRoutes); then its
        // place in the order of settling.
        std::int32_t predecessor;
    };
    // What sharing out choice needs of a settled state, by the order of settling: its routes,
    // the states it is best reached from, its share of 1 as a destination (1 for
    // its segment's best, 0 for the other; shared by routes when the two tie), and whether it is
    // its segment's best; and what passes through it, plain and weighted, added up as the
    // states after it are shared out (all in one record, as a state adds to its predecessors').
    struct SettledRoutes {
        double routes;
        double destinationShare;
        double passing;
        double weightedPassing;
        // Mostly one state, by its place in the order of settling; -1 for none; where routes
        // tie, kFirstInList minus the first of them in m_predecessors.
        std::int32_t predecessor;
        bool segmentBest;
    };
    static constexpr std::int32_t kFirstInList = -2;
    // One of the states a state is best reached from, where routes tie, by its place in the
    // order of settling, and the next of them (-1 after the last).
    struct Predecessor {
        std::int32_t settled;
        std::int32_t next;
    };
    static constexpr std::uint32_t kSettled = 1;
    static constexpr std::uint32_t kFirst = 2;

    std::int32_t stepsOf(int state) const {
        return m_countSteps ? m_steps[static_cast<std::size_t>(state)] : 0;
    }
    bool isReached(const State& state) const { return (state.stamp >> 2) == m_epoch; }
    bool isSettled(const State& state) const {
        return isReached(state) && (state.stamp & kSettled) != 0;
    }
    template <class Queue, bool kCountSteps, bool kForChoice>
    void search(int origin, const SearchLimits& limits, Queue& queue);
    // `predecessors` (as in SettledRoutes) with the state settled `settled`th added: routes tie.
    std::int32_t withPredecessor(std::int32_t predecessors, std::int32_t settled);
    // Keeps, in the order of settling, what sharing out choice needs of a state settled now.
    [[gnu::always_inline]] inline void settleForChoice(State& state, std::size_t index,
                                                       bool twinSettled);
    template <class Queue>
    void searchWith(int origin, const SearchLimits& limits, Queue& queue, bool forChoice);

    const SearchGraph& m_graph;
    std::span<const double> m_lengths;
    bool m_buckets;
    int m_origin = -1;
    bool m_countSteps = false;
    std::uint32_t m_epoch = 0;
    std::vector<State> m_states;
    // Per state, only while steps are counted.
    std::vector<std::int32_t> m_steps;
    // Sized once; the first m_settledCount are this search's.
    std::vector<int> m_settled;
    std::size_t m_settledCount = 0;
    // By the order of settling, for choice.
    std::vector<SettledRoutes> m_settledRoutes;
    std::vector<Predecessor> m_predecessors;
    Reach m_reach;
    BucketQueue m_bucketQueue;
    HeapQueue m_heapQueue;
};

template <class Visit>
void SegmentSearch::sharePassingRoutes(std::span<const double> weights, Visit&& visit) {
    // Back from the farthest states: a state passes on to each state it is best reached from
    // that one's part of its routes, times what it carries (its own share as a destination and
    // all that passes through it). All is kept by the order of settling, so that this pass reads
    // its records in order and writes near them.
    for (std::size_t at = m_settledCount; at-- > 0;) {
        const int state = m_settled[at];
        const int place = state / 2;
        if (place == m_origin)
            continue;
        const SettledRoutes& here = m_settledRoutes[at];
        visit(state, here.passing, here.weightedPassing, here.segmentBest);
        const double carried = (here.destinationShare + here.passing) / here.routes;
        const double weightedCarried =
            (here.destinationShare * weights[static_cast<std::size_t>(place)] +
             here.weightedPassing) /
            here.routes;
        const auto shareTo = [&](std::int32_t from) {
            SettledRoutes& before = m_settledRoutes[static_cast<std::size_t>(from)];
            before.passing += before.routes * carried;
            before.weightedPassing += before.routes * weightedCarried;
        };
        if (here.predecessor >= 0) {
            shareTo(here.predecessor);
            continue;
        }
        for (std::int32_t link = kFirstInList - here.predecessor; link >= 0;) {
            const Predecessor& predecessor = m_predecessors[static_cast<std::size_t>(link)];
            shareTo(predecessor.settled);
            link = predecessor.next;
        }
    }
}

} // namespace vantrel::segment

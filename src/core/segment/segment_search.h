// One search of the segment graph from one origin segment: the best routes to every state
// within the limits, and how much of them passes through each segment.
#pragma once

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

// A route's rank: lower is better.
struct RouteKey {
    std::int64_t primary = 0;
    std::int64_t secondary = 0;
    int steps = 0;
    auto operator<=>(const RouteKey&) const = default;
};

class SegmentSearch {
public:
    explicit SegmentSearch(const SearchGraph& graph);

    // Starts from both states of `origin` and keeps every state's best routes, best by their
    // RouteKey.
    void run(int origin, const SearchLimits& limits);

    // The states reached, in the order they were settled (by their keys).
    std::span<const int> settled() const { return m_settled; }
    bool reached(int state) const { return isSettled(state); }
    const RouteKey& key(int state) const { return m_keys[static_cast<std::size_t>(state)]; }
    // Whether this state is its segment's best (its first settled); of two states whose keys tie,
    // the first settled.
    bool isSegmentBest(int state) const;
    // The number of best routes to the state.
    double routes(int state) const { return m_routes[static_cast<std::size_t>(state)]; }

    // Over every segment reached (the origin apart) as destination, each of its best routes
    // carrying an equal share of 1 (or of the destination's `weights` value): how much passes
    // through each state strictly between, per state in passing() and weightedPassing(). Routes
    // to a segment whose two states tie share out between the two.
    void sharePassingRoutes(std::span<const double> weights);
    double passing(int state) const { return m_passing[static_cast<std::size_t>(state)]; }
    double weightedPassing(int state) const {
        return m_weightedPassing[static_cast<std::size_t>(state)];
    }

private:
    struct Entry {
        RouteKey key;
        int state;
        bool operator>(const Entry& other) const { return key > other.key; }
    };

    bool isReached(int state) const { return m_seen[static_cast<std::size_t>(state)] == m_epoch; }
    bool isSettled(int state) const { return m_done[static_cast<std::size_t>(state)] == m_epoch; }
    void offer(int state, const RouteKey& key, double routes);

    const SearchGraph& m_graph;
    int m_origin = -1;
    bool m_countSteps = false;
    std::uint32_t m_epoch = 0;
    std::vector<std::uint32_t> m_seen;
    std::vector<std::uint32_t> m_done;
    std::vector<RouteKey> m_keys;
    // Per state, whether it was settled before its twin.
    std::vector<std::uint8_t> m_first;
    std::vector<double> m_routes;
    std::vector<double> m_passing;
    std::vector<double> m_weightedPassing;
    std::vector<int> m_settled;
    std::vector<Entry> m_queue;
};

} // namespace vantrel::segment

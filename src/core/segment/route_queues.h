// The queues of the segment search: routes waiting to be settled, taken out best first.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <vector>

namespace vantrel::segment {

// A route waiting in a queue: its secondary cost, its steps and the state it reaches; the primary
// cost is kept by the queue.
struct QueuedRoute {
    std::int64_t secondary;
    std::int32_t steps;
    std::int32_t state;
    friend bool operator>(const QueuedRoute& a, const QueuedRoute& b) {
        return a.secondary != b.secondary ? a.secondary > b.secondary : a.steps > b.steps;
    }
    friend bool operator<(const QueuedRoute& a, const QueuedRoute& b) { return b > a; }
};

// For small whole primary costs (bins of turns, line changes): one bucket per primary cost, in a
// ring as long as the dearest step, so that every waiting route has a bucket of its own cost.
// When routes must come out in order of their secondary costs too, a bucket is sorted once it
// is reached, and routes added to it then (by steps of no primary cost) wait in a small heap
// beside it; otherwise a bucket is emptied last in, first out.
class BucketQueue {
public:
    void reset(std::int64_t largestStep, bool ordered) {
        const auto size =
            std::max<std::uint64_t>(64, std::bit_ceil(static_cast<std::uint64_t>(largestStep) + 1));
        if (m_buckets.size() != size) {
            m_buckets.assign(size, {});
            m_filled.assign(size / 64, 0);
        } else if (m_sorted) {
            // The last search's last bucket, all given out.
            const std::uint64_t index = static_cast<std::uint64_t>(m_current) & m_mask;
            m_buckets[index].clear();
            m_filled[index / 64] &= ~(std::uint64_t{1} << (index % 64));
        }
        m_mask = size - 1;
        m_current = 0;
        m_waiting = 0;
        m_ordered = ordered;
        m_sorted = false;
        m_next = 0;
        m_late.clear();
    }

    [[gnu::always_inline]] void push(std::int64_t primary, const QueuedRoute& route) {
        ++m_waiting;
        if (m_sorted && primary == m_current) {
            m_late.push_back(route);
            std::push_heap(m_late.begin(), m_late.end(), std::greater<>());
            return;
        }
        const std::uint64_t index = static_cast<std::uint64_t>(primary) & m_mask;
        m_buckets[index].push_back(route);
        m_filled[index / 64] |= std::uint64_t{1} << (index % 64);
    }

    [[gnu::always_inline]] bool pop(std::int64_t& primary, QueuedRoute& route) {
        if (m_waiting == 0)
            return false;
        --m_waiting;
        if (!m_ordered) {
            const std::uint64_t index = moveToFilled();
            std::vector<QueuedRoute>& bucket = m_buckets[index];
            route = bucket.back();
            bucket.pop_back();
            if (bucket.empty())
                m_filled[index / 64] &= ~(std::uint64_t{1} << (index % 64));
            primary = m_current;
            return true;
        }
        if (m_sorted) {
            const std::uint64_t index = static_cast<std::uint64_t>(m_current) & m_mask;
            if (m_next == m_buckets[index].size() && m_late.empty()) {
                m_buckets[index].clear();
                m_filled[index / 64] &= ~(std::uint64_t{1} << (index % 64));
                m_sorted = false;
            }
        }
        std::vector<QueuedRoute>& bucket =
            m_buckets[m_sorted ? static_cast<std::uint64_t>(m_current) & m_mask : moveToFilled()];
        if (!m_sorted) {
            SortFew(bucket);
            m_sorted = true;
            m_next = 0;
        }
        primary = m_current;
        if (!m_late.empty() && (m_next == bucket.size() || bucket[m_next] > m_late.front())) {
            std::pop_heap(m_late.begin(), m_late.end(), std::greater<>());
            route = m_late.back();
            m_late.pop_back();
        } else {
            route = bucket[m_next++];
        }
        return true;
    }

    // The state of the next route to be given out, when it is already known (while a bucket is
    // being emptied); -1 otherwise. For fetching ahead.
    int upcoming() const {
        if (!m_sorted)
            return -1;
        const std::vector<QueuedRoute>& bucket =
            m_buckets[static_cast<std::uint64_t>(m_current) & m_mask];
        if (!m_late.empty() && (m_next == bucket.size() || bucket[m_next] > m_late.front()))
            return m_late.front().state;
        return m_next < bucket.size() ? bucket[m_next].state : -1;
    }

private:
    // Buckets mostly hold a few routes: insertion sort, and std::sort for many.
    static void SortFew(std::vector<QueuedRoute>& routes) {
        constexpr std::size_t kFew = 16;
        if (routes.size() > kFew) {
            std::sort(routes.begin(), routes.end());
            return;
        }
        for (std::size_t index = 1; index < routes.size(); ++index) {
            const QueuedRoute moving = routes[index];
            std::size_t to = index;
            for (; to > 0 && moving < routes[to - 1]; --to)
                routes[to] = routes[to - 1];
            routes[to] = moving;
        }
    }

    // Makes the first filled bucket from the current cost on the current one; there is one.
    std::uint64_t moveToFilled() {
        const std::uint64_t from = static_cast<std::uint64_t>(m_current) & m_mask;
        const std::uint64_t index = nextFilled(from);
        m_current += static_cast<std::int64_t>((index - from) & m_mask);
        return index;
    }

    // The first filled bucket from `index` on, round the ring; there is one.
    std::uint64_t nextFilled(std::uint64_t index) const {
        const std::size_t words = m_filled.size();
        std::size_t word = index / 64;
        std::uint64_t bits = m_filled[word] & (~std::uint64_t{0} << (index % 64));
        while (bits == 0) {
            word = (word + 1) % words;
            bits = m_filled[word];
        }
        return word * 64 + static_cast<std::uint64_t>(std::countr_zero(bits));
    }

    std::vector<std::vector<QueuedRoute>> m_buckets;
    // One bit per bucket, set while it holds a route.
    std::vector<std::uint64_t> m_filled;
    std::uint64_t m_mask = 0;
    std::int64_t m_current = 0;
    std::size_t m_waiting = 0;
    bool m_ordered = true;
    // Whether the current bucket is sorted, and the next of its routes to give out.
    bool m_sorted = false;
    std::size_t m_next = 0;
    // Routes of the current cost queued while its bucket is being emptied.
    std::vector<QueuedRoute> m_late;
};

// For any primary costs (lengths, unbinned turns): a binary heap.
class HeapQueue {
public:
    void reset(std::int64_t, bool) { m_heap.clear(); }

    void push(std::int64_t primary, const QueuedRoute& route) {
        m_heap.push_back({primary, route});
        std::push_heap(m_heap.begin(), m_heap.end(), std::greater<>());
    }

    bool pop(std::int64_t& primary, QueuedRoute& route) {
        if (m_heap.empty())
            return false;
        std::pop_heap(m_heap.begin(), m_heap.end(), std::greater<>());
        primary = m_heap.back().primary;
        route = m_heap.back().route;
        m_heap.pop_back();
        return true;
    }

    int upcoming() const { return -1; }

private:
    struct Entry {
        std::int64_t primary;
        QueuedRoute route;
        friend bool operator>(const Entry& a, const Entry& b) {
            return a.primary != b.primary ? a.primary > b.primary : a.route > b.route;
        }
    };
    std::vector<Entry> m_heap;
};

} // namespace vantrel::segment

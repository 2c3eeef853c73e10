#include "core/vga/path_searches.h"

#include "core/analysis/parallel_units.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <queue>

namespace vantrel::vga {

namespace {

constexpr int kPointsPerUnit = 16;
constexpr double kUnreached = std::numeric_limits<double>::infinity();

// The turn from the direction a -> b to b -> c, in quarter turns.
double Turn(DoublePoint a, DoublePoint b, DoublePoint c) {
    const double x1 = b.x - a.x, y1 = b.y - a.y, x2 = c.x - b.x, y2 = c.y - b.y;
    const double angle = std::atan2(x1 * y2 - y1 * x2, x1 * x2 + y1 * y2);
    return std::fabs(angle) / (std::numbers::pi / 2);
}

// Calls visit(point) for each point of `mine` that is not in `theirs`; both ascending.
template <class Visit>
void EachNotIn(std::span<const PointRun> mine, std::span<const PointRun> theirs, Visit&& visit) {
    std::size_t other = 0;
    for (const PointRun& run : mine) {
        std::int32_t point = run.first;
        while (point <= run.last) {
            while (other < theirs.size() && theirs[other].last < point)
                ++other;
            const std::int32_t stop =
                other < theirs.size() ? std::min(run.last + 1, theirs[other].first) : run.last + 1;
            for (; point < stop; ++point)
                visit(point);
            if (other < theirs.size() && point >= theirs[other].first)
                point = std::max(point, theirs[other].last + 1);
        }
    }
}

enum class Cost { Metric, Angular };

// One search at a time; reused from search to search.
class PathSearch {
public:
    PathSearch(const PointGrid& grid, const VisibilityGraph& graph)
        : m_grid(grid), m_graph(graph),
          m_cost(static_cast<std::size_t>(graph.pointCount()), kUnreached),
          m_turns(m_cost.size(), 0), m_before(m_cost.size(), -1), m_done(m_cost.size(), 0) {}

    // A point seen from the one it was reached from need not be tried from the point itself:
    // going straight there is never longer and never turns more (the turns of a triangle add up
    // to at least the turn across it), so each point tries only what it newly sees.
    template <class Reached> void run(Cost kind, std::span<const int> origins, Reached&& reached) {
        for (const int point : m_touched) {
            m_cost[static_cast<std::size_t>(point)] = kUnreached;
            m_turns[static_cast<std::size_t>(point)] = 0;
            m_before[static_cast<std::size_t>(point)] = -1;
            m_done[static_cast<std::size_t>(point)] = 0;
        }
        m_touched.clear();
        using Entry = std::pair<double, int>;
        std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
        for (const int origin : origins) {
            if (m_cost[static_cast<std::size_t>(origin)] == 0)
                continue;
            m_cost[static_cast<std::size_t>(origin)] = 0;
            m_touched.push_back(origin);
            queue.emplace(0.0, origin);
        }
        const double tie = m_grid.spacing() * 1e-9;
        while (!queue.empty()) {
            const auto [cost, point] = queue.top();
            queue.pop();
            const auto index = static_cast<std::size_t>(point);
            if (m_done[index] || cost > m_cost[index])
                continue;
            m_done[index] = 1;
            reached(point, m_cost[index], m_turns[index]);
            const int before = m_before[index];
            const DoublePoint here = m_grid.location(point);
            const auto tryPoint = [&](std::int32_t next) {
                const auto nextIndex = static_cast<std::size_t>(next);
                if (m_done[nextIndex])
                    return;
                const DoublePoint there = m_grid.location(next);
                const double turn = before < 0 ? 0.0 : Turn(m_grid.location(before), here, there);
                const double turns = m_turns[index] + turn;
                const double newCost =
                    kind == Cost::Metric
                        ? m_cost[index] + std::hypot(there.x - here.x, there.y - here.y)
                        : m_cost[index] + turn;
                const double oldCost = m_cost[nextIndex];
                const bool better = kind == Cost::Metric
                                        ? newCost < oldCost - tie || (newCost <= oldCost + tie &&
                                                                      turns < m_turns[nextIndex])
                                        : newCost < oldCost - 1e-12;
                if (!better)
                    return;
                if (oldCost == kUnreached)
                    m_touched.push_back(next);
                m_cost[nextIndex] = newCost;
                m_turns[nextIndex] = turns;
                m_before[nextIndex] = point;
                queue.emplace(newCost, next);
            };
            if (before < 0) {
                for (const PointRun& run : m_graph.runsOf(point))
                    for (std::int32_t next = run.first; next <= run.last; ++next)
                        tryPoint(next);
            } else {
                EachNotIn(m_graph.runsOf(point), m_graph.runsOf(before), tryPoint);
            }
        }
    }

private:
    const PointGrid& m_grid;
    const VisibilityGraph& m_graph;
    std::vector<double> m_cost;
    std::vector<double> m_turns;
    std::vector<int> m_before;
    std::vector<std::uint8_t> m_done;
    std::vector<int> m_touched;
};

} // namespace

PathMeans ComputePathMeans(const PointGrid& grid, const VisibilityGraph& graph,
                           const PathOptions& options) {
    const int count = graph.pointCount();
    const auto size = static_cast<std::size_t>(count);
    PathMeans means;
    if (options.metric) {
        means.metricMeanDistance.resize(size);
        means.metricMeanStraightDistance.resize(size);
        means.metricMeanAngle.resize(size);
        means.metricNodeCount.resize(size);
    }
    if (options.angular) {
        means.angularMeanDepth.resize(size);
        means.angularTotalDepth.resize(size);
        means.angularNodeCount.resize(size);
    }
    const int units = (count + kPointsPerUnit - 1) / kPointsPerUnit;
    analysis::RunUnits(units, options.threads, options.progress, [&] {
        return [&, search = PathSearch(grid, graph)](int unit) mutable {
            const int last = std::min(count, (unit + 1) * kPointsPerUnit);
            for (int point = unit * kPointsPerUnit; point < last; ++point) {
                const auto index = static_cast<std::size_t>(point);
                const int origin[] = {point};
                const DoublePoint from = grid.location(point);
                if (options.metric) {
                    double length = 0, straight = 0, turns = 0;
                    std::int32_t reached = 0;
                    search.run(Cost::Metric, origin, [&](int other, double cost, double turned) {
                        const DoublePoint to = grid.location(other);
                        length += cost;
                        straight += std::hypot(to.x - from.x, to.y - from.y);
                        turns += turned;
                        ++reached;
                    });
                    means.metricMeanDistance[index] = length / reached;
                    means.metricMeanStraightDistance[index] = straight / reached;
                    means.metricMeanAngle[index] = turns / reached;
                    means.metricNodeCount[index] = reached;
                }
                if (options.angular) {
                    double total = 0;
                    std::int32_t reached = 0;
                    search.run(Cost::Angular, origin, [&](int, double cost, double) {
                        total += cost;
                        ++reached;
                    });
                    means.angularMeanDepth[index] = total / reached;
                    means.angularTotalDepth[index] = total;
                    means.angularNodeCount[index] = reached;
                }
            }
        };
    });
    return means;
}

StepPaths ComputeStepPaths(const PointGrid& grid, const VisibilityGraph& graph,
                           std::span<const int> origins) {
    StepPaths steps;
    steps.metric.resize(static_cast<std::size_t>(graph.pointCount()));
    steps.angular.resize(steps.metric.size());
    PathSearch search(grid, graph);
    search.run(Cost::Metric, origins, [&](int point, double cost, double) {
        steps.metric[static_cast<std::size_t>(point)] = cost;
    });
    search.run(Cost::Angular, origins, [&](int point, double cost, double) {
        steps.angular[static_cast<std::size_t>(point)] = cost;
    });
    return steps;
}

} // namespace vantrel::vga

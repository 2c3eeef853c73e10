#include "core/analysis/choice.h"

#include "core/analysis/parallel_units.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <list>
#include <mutex>

namespace vantrel::analysis {
namespace {

// Per-source shares are at most the item count, and their sum over all sources at most its
// square, so 64 bits of fraction leave ample room; fixed-point sums do not depend on their order.
__extension__ typedef __int128 Fixed;
constexpr int kFractionBits = 64;
constexpr int kSourcesPerUnit = 64;

Fixed ToFixed(double value) {
    return static_cast<Fixed>(std::ldexp(value, kFractionBits));
}
double FromFixed(Fixed value) {
    return std::ldexp(static_cast<double>(value), -kFractionBits);
}

// The graph the routes are searched in: nodes 0..itemCount-1 are the items whose choice is
// measured and the ends of routes; any further nodes only carry routes between them. One step
// between related items is stepsPerDepth links.
struct RouteGraph {
    std::vector<std::size_t> offsets{0};
    std::vector<int> links;
    int itemCount = 0;
    int stepsPerDepth = 1;

    int nodeCount() const { return static_cast<int>(offsets.size()) - 1; }
    std::span<const int> linksOf(int node) const {
        return {links.data() + offsets[node], offsets[node + 1] - offsets[node]};
    }
    void addNode(std::span<const int> nodeLinks, int shift = 0) {
        for (int link : nodeLinks)
            links.push_back(link + shift);
        offsets.push_back(links.size());
    }
};

RouteGraph LineRoutes(const MapGraph& graph) {
    RouteGraph routes;
    routes.itemCount = graph.lineCount();
    for (int line = 0; line < graph.lineCount(); ++line)
        routes.addNode(graph.neighbours(line));
    return routes;
}

// Junctions first, then the lines, each junction linked to its lines.
RouteGraph JunctionRoutes(const MapGraph& graph) {
    RouteGraph routes;
    routes.itemCount = graph.junctionCount();
    routes.stepsPerDepth = 2;
    for (int junction = 0; junction < graph.junctionCount(); ++junction)
        routes.addNode(graph.linesOf(junction), graph.junctionCount());
    for (int line = 0; line < graph.lineCount(); ++line)
        routes.addNode(graph.junctionsOn(line));
    return routes;
}

// The searches of one thread: breadth-first from a source counting shortest paths, then back
// from the deepest node handing each node's share of routes to its predecessors (Brandes).
class RouteSearch {
public:
    RouteSearch(const RouteGraph& routes, std::span<const int> limits, std::vector<Fixed>& sums)
        : m_routes(routes), m_limits(limits), m_sums(sums), m_depth(routes.nodeCount(), -1),
          m_paths(routes.nodeCount(), 0.0), m_share(routes.nodeCount(), 0.0) {
        m_order.reserve(routes.nodeCount());
    }

    void run(int source) {
        const int deepest = *std::max_element(m_limits.begin(), m_limits.end());
        m_order.assign(1, source);
        m_depth[source] = 0;
        m_paths[source] = 1.0;
        for (std::size_t head = 0; head < m_order.size(); ++head) {
            const int node = m_order[head];
            const int next = m_depth[node] + 1;
            if (m_depth[node] == deepest)
                break;
            for (int link : m_routes.linksOf(node)) {
                if (m_depth[link] < 0) {
                    m_depth[link] = next;
                    m_paths[link] = m_paths[node];
                    m_order.push_back(link);
                } else if (m_depth[link] == next) {
                    m_paths[link] += m_paths[node];
                }
            }
        }
        for (std::size_t column = 0; column < m_limits.size(); ++column)
            handBack(m_limits[column], m_sums.data() + column * m_routes.itemCount);
        for (int node : m_order)
            m_depth[node] = -1;
    }

private:
    void handBack(int limit, Fixed* sums) {
        const auto end = std::partition_point(m_order.begin(), m_order.end(),
                                              [&](int node) { return m_depth[node] <= limit; });
        for (auto node = m_order.begin(); node != end; ++node)
            m_share[*node] = 0.0;
        for (auto it = end; it - 1 != m_order.begin();) {
            const int node = *--it;
            const bool item = node < m_routes.itemCount;
            if (item && m_share[node] != 0.0)
                sums[node] += ToFixed(m_share[node]);
            const double perPath = ((item ? 1.0 : 0.0) + m_share[node]) / m_paths[node];
            const int previous = m_depth[node] - 1;
            for (int link : m_routes.linksOf(node)) {
                if (m_depth[link] == previous)
                    m_share[link] += m_paths[link] * perPath;
            }
        }
    }

    const RouteGraph& m_routes;
    std::span<const int> m_limits;
    std::vector<Fixed>& m_sums;
    std::vector<int> m_depth;
    std::vector<double> m_paths;
    std::vector<double> m_share;
    std::vector<int> m_order;
};

std::vector<std::vector<double>> Choice(const RouteGraph& routes, std::span<const int> radiusSteps,
                                        const ChoiceOptions& options) {
    const int items = routes.itemCount;
    std::vector<int> limits;
    for (int steps : radiusSteps) {
        const bool unlimited = steps >= kUnlimitedSteps / routes.stepsPerDepth;
        limits.push_back(unlimited ? kUnlimitedSteps : std::max(steps, 0) * routes.stepsPerDepth);
    }
    std::vector<std::vector<double>> choice(limits.size(), std::vector<double>(items, 0.0));
    if (limits.empty())
        return choice;

    std::mutex threadSumsMutex;
    std::list<std::vector<Fixed>> threadSums;
    const int units = (items + kSourcesPerUnit - 1) / kSourcesPerUnit;
    RunUnits(units, options.threads, options.progress, [&] {
        std::vector<Fixed>* sums = nullptr;
        {
            const std::lock_guard lock(threadSumsMutex);
            sums = &threadSums.emplace_back(limits.size() * items, Fixed{0});
        }
        return [search = RouteSearch(routes, limits, *sums), items](int unit) mutable {
            const int last = std::min(items, (unit + 1) * kSourcesPerUnit);
            for (int source = unit * kSourcesPerUnit; source < last; ++source)
                search.run(source);
        };
    });

    for (std::size_t column = 0; column < limits.size(); ++column) {
        for (int item = 0; item < items; ++item) {
            Fixed sum = 0;
            for (const std::vector<Fixed>& sums : threadSums)
                sum += sums[column * items + item];
            // Every pair was counted from both of its ends.
            choice[column][item] = FromFixed(sum) / 2.0;
        }
    }
    return choice;
}

} // namespace

std::vector<std::vector<double>> ComputeLineChoice(const MapGraph& graph,
                                                   std::span<const int> radiusSteps,
                                                   const ChoiceOptions& options) {
    return Choice(LineRoutes(graph), radiusSteps, options);
}

std::vector<std::vector<double>> ComputeJunctionChoice(const MapGraph& graph,
                                                       std::span<const int> radiusSteps,
                                                       const ChoiceOptions& options) {
    return Choice(JunctionRoutes(graph), radiusSteps, options);
}

} // namespace vantrel::analysis

#include "core/analysis/choice.h"

#include "core/analysis/parallel_units.h"
#include "core/analysis/source_order.h"

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
// between related items is stepsPerDepth links. Nodes are numbered in an order that keeps near
// items near in memory; itemOf gives each item node's own index.
struct RouteGraph {
    std::vector<std::size_t> offsets{0};
    std::vector<int> links;
    std::vector<int> itemOf;
    int itemCount = 0;
    int stepsPerDepth = 1;

    int nodeCount() const { return static_cast<int>(offsets.size()) - 1; }
    std::span<const int> linksOf(int node) const {
        return {links.data() + offsets[node], offsets[node + 1] - offsets[node]};
    }
    void addNode(std::span<const int> nodeLinks, const std::vector<int>& nodeOf, int shift = 0) {
        for (int link : nodeLinks)
            links.push_back(nodeOf[link] + shift);
        offsets.push_back(links.size());
    }
};

std::vector<int> Positions(const std::vector<int>& order) {
    std::vector<int> positions(order.size());
    for (std::size_t position = 0; position < order.size(); ++position)
        positions[order[position]] = static_cast<int>(position);
    return positions;
}

RouteGraph LineRoutes(const MapGraph& graph) {
    RouteGraph routes;
    routes.itemOf = ClusteredLines(graph);
    routes.itemCount = graph.lineCount();
    const std::vector<int> nodeOf = Positions(routes.itemOf);
    for (int line : routes.itemOf)
        routes.addNode(graph.neighbours(line), nodeOf);
    return routes;
}

// Junctions first, then the lines, each junction linked to its lines.
RouteGraph JunctionRoutes(const MapGraph& graph) {
    RouteGraph routes;
    routes.itemOf = ClusteredJunctions(graph);
    routes.itemCount = graph.junctionCount();
    routes.stepsPerDepth = 2;
    const std::vector<int> lineOrder = ClusteredLines(graph);
    const std::vector<int> junctionNode = Positions(routes.itemOf);
    const std::vector<int> lineNode = Positions(lineOrder);
    for (int junction : routes.itemOf)
        routes.addNode(graph.linesOf(junction), lineNode, routes.itemCount);
    for (int line : lineOrder)
        routes.addNode(graph.junctionsOn(line), junctionNode);
    return routes;
}

// The searches of one thread: breadth-first from a source counting shortest paths and keeping
// each node's links one step further, then back from the deepest node handing each node's share
// of the routes to the nodes before it (Brandes). The shares of a unit of sources are summed in
// doubles, always in the same order, and added to the thread's fixed-point sums once per unit.
class RouteSearch {
public:
    RouteSearch(const RouteGraph& routes, std::span<const int> limits, std::vector<Fixed>& sums)
        : m_routes(routes), m_limits(limits),
          m_deepest(*std::max_element(limits.begin(), limits.end())), m_sums(sums),
          m_unitSums(sums.size(), 0.0), m_depth(routes.nodeCount(), -1),
          m_paths(routes.nodeCount(), 0.0), m_perPath(routes.nodeCount(), 0.0) {
        m_order.reserve(routes.nodeCount());
        m_onwardEnd.reserve(routes.nodeCount());
        m_onward.reserve(routes.links.size());
    }

    void run(int source) {
        search(source);
        for (std::size_t column = 0; column < m_limits.size(); ++column)
            handBack(m_limits[column], m_unitSums.data() + column * m_routes.itemCount);
        for (int node : m_order)
            m_depth[node] = -1;
    }

    // Adds the shares of the sources run since the last call to the thread's sums.
    void closeUnit() {
        for (std::size_t cell = 0; cell < m_unitSums.size(); ++cell) {
            if (m_unitSums[cell] != 0.0) {
                m_sums[cell] += ToFixed(m_unitSums[cell]);
                m_unitSums[cell] = 0.0;
            }
        }
    }

private:
    void search(int source) {
        m_order.assign(1, source);
        m_onwardEnd.clear();
        m_onward.clear();
        m_depth[source] = 0;
        m_paths[source] = 1.0;
        for (std::size_t head = 0; head < m_order.size(); ++head) {
            const int node = m_order[head];
            const int next = m_depth[node] + 1;
            if (m_depth[node] == m_deepest)
                break;
            for (int link : m_routes.linksOf(node)) {
                if (m_depth[link] < 0) {
                    m_depth[link] = next;
                    m_paths[link] = 0.0;
                    m_order.push_back(link);
                }
                if (m_depth[link] == next) {
                    m_paths[link] += m_paths[node];
                    m_onward.push_back(link);
                }
            }
            m_onwardEnd.push_back(m_onward.size());
        }
    }

    // The share of a node is its paths times the sum, over its onward links within the limit, of
    // (1 for an item + the link's share) per path of the link.
    void handBack(int limit, double* shares) {
        const auto order = m_order.begin();
        const std::size_t end =
            std::partition_point(order, m_order.end(),
                                 [&](int node) { return m_depth[node] <= limit; }) -
            order;
        for (std::size_t position = end; position-- > 1;) {
            const int node = m_order[position];
            double onward = 0.0;
            if (m_depth[node] < limit && position < m_onwardEnd.size()) {
                for (std::size_t link = m_onwardEnd[position - 1]; link < m_onwardEnd[position];
                     ++link)
                    onward += m_perPath[m_onward[link]];
            }
            if (node < m_routes.itemCount) {
                shares[node] += m_paths[node] * onward;
                m_perPath[node] = 1.0 / m_paths[node] + onward;
            } else {
                m_perPath[node] = onward;
            }
        }
    }

    const RouteGraph& m_routes;
    std::span<const int> m_limits;
    int m_deepest;
    std::vector<Fixed>& m_sums;
    std::vector<double> m_unitSums;
    std::vector<int> m_depth;
    std::vector<double> m_paths;
    std::vector<double> m_perPath;
    // The nodes in the order reached; for each node expanded, where its onward links end.
    std::vector<int> m_order;
    std::vector<std::size_t> m_onwardEnd;
    std::vector<int> m_onward;
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
            search.closeUnit();
        };
    });

    for (std::size_t column = 0; column < limits.size(); ++column) {
        for (int item = 0; item < items; ++item) {
            Fixed sum = 0;
            for (const std::vector<Fixed>& sums : threadSums)
                sum += sums[column * items + item];
            // Every pair was counted from both of its ends.
            choice[column][routes.itemOf[item]] = FromFixed(sum) / 2.0;
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

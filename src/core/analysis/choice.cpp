#include "core/analysis/choice.h"

#include "core/analysis/parallel_units.h"
#include "core/analysis/source_order.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <list>
#include <memory>
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

int Deepest(std::span<const int> limits) {
    return *std::max_element(limits.begin(), limits.end());
}

std::vector<int> Positions(const std::vector<int>& order) {
    std::vector<int> positions(order.size());
    for (std::size_t position = 0; position < order.size(); ++position)
        positions[order[position]] = static_cast<int>(position);
    return positions;
}

// Each thread's sums per radius and item: the shares of a unit of sources are summed in doubles,
// always in the same order, and added in fixed point once per unit.
class UnitSums {
public:
    UnitSums(std::vector<Fixed>& sums) : m_sums(sums), m_unit(sums.size(), 0.0) {}

    double* column(std::size_t column, int items) { return m_unit.data() + column * items; }

    void closeUnit() {
        for (std::size_t cell = 0; cell < m_unit.size(); ++cell) {
            if (m_unit[cell] != 0.0) {
                m_sums[cell] += ToFixed(m_unit[cell]);
                m_unit[cell] = 0.0;
            }
        }
    }

private:
    std::vector<Fixed>& m_sums;
    std::vector<double> m_unit;
};

// The lines, numbered in an order that keeps near lines near in memory, and for each its distinct
// neighbouring lines.
struct LineLinks {
    std::vector<std::size_t> offsets{0};
    std::vector<int> across;
    std::vector<int> lineOf;
    int lineCount() const { return static_cast<int>(offsets.size()) - 1; }
    std::pair<std::size_t, std::size_t> range(int line) const {
        return {offsets[line], offsets[line + 1]};
    }
};

LineLinks Neighbours(const MapGraph& graph) {
    LineLinks links;
    links.lineOf = ClusteredLines(graph);
    const std::vector<int> node = Positions(links.lineOf);
    for (int line : links.lineOf) {
        for (int neighbour : graph.neighbours(line))
            links.across.push_back(node[neighbour]);
        links.offsets.push_back(links.across.size());
    }
    return links;
}

// The searches of one thread over the lines: breadth-first from a source counting shortest
// paths and keeping each line's links one step further, then back from the deepest line handing
// each line's share of the routes to the lines before it (Brandes).
class LineSearch {
public:
    LineSearch(const LineLinks& links, std::span<const int> limits, UnitSums& sums)
        : m_links(links), m_limits(limits), m_deepest(Deepest(limits)), m_sums(sums),
          m_depth(links.lineCount(), -1), m_paths(links.lineCount(), 0.0),
          m_perPath(links.lineCount(), 0.0) {
        m_order.reserve(links.lineCount());
        m_onwardEnd.reserve(links.lineCount());
        m_onward.reserve(links.across.size());
    }

    void run(int source) {
        search(source);
        for (std::size_t column = 0; column < m_limits.size(); ++column)
            handBack(m_limits[column], m_sums.column(column, m_links.lineCount()));
        for (int line : m_order)
            m_depth[line] = -1;
    }

private:
    void search(int source) {
        m_order.assign(1, source);
        m_onwardEnd.clear();
        m_onward.clear();
        m_depth[source] = 0;
        m_paths[source] = 1.0;
        for (std::size_t head = 0; head < m_order.size(); ++head) {
            const int line = m_order[head];
            const int next = m_depth[line] + 1;
            if (m_depth[line] == m_deepest)
                break;
            const auto [first, last] = m_links.range(line);
            for (std::size_t link = first; link < last; ++link) {
                const int other = m_links.across[link];
                if (m_depth[other] < 0) {
                    m_depth[other] = next;
                    m_paths[other] = 0.0;
                    m_order.push_back(other);
                }
                if (m_depth[other] == next) {
                    m_paths[other] += m_paths[line];
                    m_onward.push_back(other);
                }
            }
            m_onwardEnd.push_back(m_onward.size());
        }
    }

    // A line's share is its paths times the sum, over its onward links within the limit, of
    // (1 + the link's share) per path of the link.
    void handBack(int limit, double* shares) {
        const auto order = m_order.begin();
        const std::size_t end =
            std::partition_point(order, m_order.end(),
                                 [&](int line) { return m_depth[line] <= limit; }) -
            order;
        for (std::size_t position = end; position-- > 1;) {
            const int line = m_order[position];
            double onward = 0.0;
            if (m_depth[line] < limit && position < m_onwardEnd.size()) {
                for (std::size_t link = m_onwardEnd[position - 1]; link < m_onwardEnd[position];
                     ++link)
                    onward += m_perPath[m_onward[link]];
            }
            shares[line] += m_paths[line] * onward;
            m_perPath[line] = 1.0 / m_paths[line] + onward;
        }
    }

    const LineLinks& m_links;
    std::span<const int> m_limits;
    int m_deepest;
    UnitSums& m_sums;
    std::vector<int> m_depth;
    std::vector<double> m_paths;
    std::vector<double> m_perPath;
    // The lines in the order reached; for each line expanded, where its onward links end.
    std::vector<int> m_order;
    std::vector<std::size_t> m_onwardEnd;
    std::vector<int> m_onward;
};

// A junction on a line and the other line through it, -1 when it has none.
struct Crossing {
    int line;
    int junction;
};

// The lines and junctions, each numbered in an order that keeps near ones near in memory.
struct JunctionLinks {
    std::vector<int> lineOf;
    std::vector<int> junctionOf;
    // Per line, its crossings.
    std::vector<std::size_t> offsets{0};
    std::vector<Crossing> crossings;
    // Per junction: its lines, -1 for none.
    std::vector<std::array<int, 2>> linesOf;
};

JunctionLinks Junctions(const MapGraph& graph) {
    JunctionLinks links;
    links.lineOf = ClusteredLines(graph);
    links.junctionOf = ClusteredJunctions(graph);
    const std::vector<int> lineNode = Positions(links.lineOf);
    const std::vector<int> junctionNode = Positions(links.junctionOf);
    for (int line : links.lineOf) {
        const auto junctions = graph.junctionsOn(line);
        const auto across = graph.linesAcross(line);
        for (std::size_t i = 0; i < junctions.size(); ++i)
            links.crossings.push_back(
                {across[i] < 0 ? -1 : lineNode[across[i]], junctionNode[junctions[i]]});
        links.offsets.push_back(links.crossings.size());
    }
    for (int junction : links.junctionOf) {
        std::array<int, 2> lines = {-1, -1};
        const auto on = graph.linesOf(junction);
        for (std::size_t i = 0; i < on.size(); ++i)
            lines[i] = lineNode[on[i]];
        links.linesOf.push_back(lines);
    }
    return links;
}

// The searches of one thread for the junctions. A route between junctions runs along a line,
// turns onto a crossing line at a junction, and so on, so it is searched over the lines: the
// source junction's lines at depth 0, a junction at one more than its nearest line. The
// junctions a route passes through are the turns where it changes line; each line hands back,
// per path, 1 for each junction that ends a route on it and the share of each line it turns
// onto, and each turn takes the share of the routes through it.
class TurnSearch {
public:
    TurnSearch(const JunctionLinks& links, std::span<const int> limits, UnitSums& sums)
        : m_links(links), m_limits(limits), m_deepest(Deepest(limits)), m_sums(sums),
          m_reach(links.lineOf.size()), m_order(links.lineOf.size()),
          m_pathsAt(links.lineOf.size()), m_endingAt(links.lineOf.size()),
          m_perPathAt(links.lineOf.size()), m_onwardEnd(links.lineOf.size() + 1),
          m_onward(links.crossings.size()) {}

    void run(int source) {
        m_reached = 0;
        for (int line : m_links.linesOf[source]) {
            if (line >= 0) {
                m_reach[line] = {1.0, 0, static_cast<int>(m_reached)};
                m_order[m_reached++] = line;
            }
        }
        search(source);
        const int junctions = static_cast<int>(m_links.linesOf.size());
        for (std::size_t column = 0; column < m_limits.size(); ++column)
            handBack(m_limits[column], m_sums.column(column, junctions));
        for (std::size_t position = 0; position < m_reached; ++position)
            m_reach[m_order[position]].depth = -1;
    }

private:
    // Kept together, as the search reads all of a line it crosses.
    struct Reach {
        double paths = 0.0;
        int depth = -1;
        // Where the line stands in the order reached.
        int position = 0;
    };
    // A turn onto a deeper line, which stands at `position` in the order reached.
    struct Turn {
        int position;
        int junction;
    };

    // When a line is expanded, every line across it has its final depth, and those at its own
    // depth their final path counts, so the share per path of the routes ending at its junctions
    // is known at once, whatever the radius; only the turns onto deeper lines are kept. What the
    // hand-back needs is kept by position in the order reached, which it walks backwards.
    void search(int source) {
        const Crossing* crossings = m_links.crossings.data();
        Reach* reach = m_reach.data();
        int* order = m_order.data();
        Turn* onward = m_onward.data();
        std::size_t reached = m_reached;
        std::size_t turns = 0;
        m_onwardEnd[0] = 0;
        m_levelStart.assign(1, 0);
        for (std::size_t head = 0; head < reached; ++head) {
            const int line = order[head];
            const auto [paths, depth, position] = reach[line];
            if (static_cast<std::size_t>(depth) == m_levelStart.size())
                m_levelStart.push_back(head);
            m_pathsAt[head] = paths;
            double ends = 0.0;
            double endingShare = 0.0;
            const bool expands = depth < m_deepest;
            for (std::size_t link = m_links.offsets[line]; link < m_links.offsets[line + 1];
                 ++link) {
                const auto [other, junction] = crossings[link];
                if (other < 0) {
                    ends += junction != source ? 1.0 : 0.0;
                    continue;
                }
                Reach& across = reach[other];
                if (across.depth < 0) {
                    if (!expands) {
                        ends += 1.0;
                        continue;
                    }
                    across = {0.0, depth + 1, static_cast<int>(reached)};
                    order[reached++] = other;
                }
                if (across.depth == depth) {
                    // Only the source junction joins the two lines at depth 0.
                    if (depth != 0)
                        endingShare += 1.0 / (paths + across.paths);
                } else if (across.depth > depth) {
                    ends += 1.0;
                    across.paths += paths;
                    onward[turns++] = {across.position, junction};
                }
            }
            m_endingAt[head] = endingShare + ends / paths;
            m_onwardEnd[head + 1] = turns;
        }
        m_reached = reached;
    }

    // `limit` is the deepest line depth whose junctions lie within the radius. A line's share
    // per path is that of the routes ending at its junctions plus that of each line it turns
    // onto within the limit, whose turn junction takes the share of the routes through it.
    void handBack(int limit, double* shares) {
        const auto levels = static_cast<std::size_t>(limit) + 1;
        const std::size_t end = levels < m_levelStart.size() ? m_levelStart[levels] : m_reached;
        const std::size_t lastLevel =
            levels - 1 < m_levelStart.size() ? m_levelStart[levels - 1] : m_reached;
        const Turn* onward = m_onward.data();
        double* perPathAt = m_perPathAt.data();
        for (std::size_t position = end; position-- > 0;) {
            double perPath = m_endingAt[position];
            if (position < lastLevel) {
                const double paths = m_pathsAt[position];
                for (std::size_t link = m_onwardEnd[position]; link < m_onwardEnd[position + 1];
                     ++link) {
                    const Turn turn = onward[link];
                    perPath += perPathAt[turn.position];
                    shares[turn.junction] += paths * perPathAt[turn.position];
                }
            }
            perPathAt[position] = perPath;
        }
    }

    const JunctionLinks& m_links;
    std::span<const int> m_limits;
    int m_deepest;
    UnitSums& m_sums;
    std::vector<Reach> m_reach;
    // The lines in the order reached, and where each depth begins in it.
    std::vector<int> m_order;
    std::size_t m_reached = 0;
    std::vector<std::size_t> m_levelStart;
    // By position in the order reached: paths, the share per path of the routes ending there,
    // the whole share per path, and where the line's turns onto deeper lines begin and end.
    std::vector<double> m_pathsAt;
    std::vector<double> m_endingAt;
    std::vector<double> m_perPathAt;
    std::vector<std::size_t> m_onwardEnd;
    std::vector<Turn> m_onward;
};

// `itemOf` gives the map's own index of each item as the searches number them.
template <class Search, class Links>
std::vector<std::vector<double>>
Choice(const Links& links, int items, const std::vector<int>& itemOf,
       const std::vector<int>& limits, const ChoiceOptions& options) {
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
        auto unitSums = std::make_unique<UnitSums>(*sums);
        auto search = std::make_unique<Search>(links, limits, *unitSums);
        return
            [unitSums = std::move(unitSums), search = std::move(search), items](int unit) mutable {
                const int last = std::min(items, (unit + 1) * kSourcesPerUnit);
                for (int source = unit * kSourcesPerUnit; source < last; ++source)
                    search->run(source);
                unitSums->closeUnit();
            };
    });

    for (std::size_t column = 0; column < limits.size(); ++column) {
        for (int item = 0; item < items; ++item) {
            Fixed sum = 0;
            for (const std::vector<Fixed>& sums : threadSums)
                sum += sums[column * items + item];
            // Every pair was counted from both of its ends.
            choice[column][itemOf[item]] = FromFixed(sum) / 2.0;
        }
    }
    return choice;
}

// A radius in steps as the deepest depth of the search that reaches its items.
std::vector<int> Limits(std::span<const int> radiusSteps, int offset) {
    std::vector<int> limits;
    for (int steps : radiusSteps)
        limits.push_back(steps == kUnlimitedSteps ? kUnlimitedSteps : steps - offset);
    return limits;
}

} // namespace

std::vector<std::vector<double>> ComputeLineChoice(const MapGraph& graph,
                                                   std::span<const int> radiusSteps,
                                                   const ChoiceOptions& options) {
    const LineLinks links = Neighbours(graph);
    return Choice<LineSearch>(links, graph.lineCount(), links.lineOf, Limits(radiusSteps, 0),
                              options);
}

// A junction's depth is one more than its nearest line's.
std::vector<std::vector<double>> ComputeJunctionChoice(const MapGraph& graph,
                                                       std::span<const int> radiusSteps,
                                                       const ChoiceOptions& options) {
    const JunctionLinks links = Junctions(graph);
    return Choice<TurnSearch>(links, graph.junctionCount(), links.junctionOf,
                              Limits(radiusSteps, 1), options);
}

} // namespace vantrel::analysis

#include "core/analysis/choice.h"

#include "core/analysis/parallel_units.h"
#include "core/analysis/path_waves.h"
#include "core/analysis/source_order.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <set>

namespace vantrel::analysis {
namespace {

// Per-source shares are at most the item count, and their sum over all sources at most its
// square, so 64 bits of fraction leave ample room; fixed-point sums do not depend on their order.
using Fixed = FixedPointSum;
constexpr int kFractionBits = 64;
constexpr int kSourcesPerUnit = kSourcesPerWave;

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

// The levels of a search that lie within `limit`.
std::size_t LevelsWithin(int limit, std::size_t levelCount) {
    return std::min(static_cast<std::size_t>(limit) + 1, levelCount);
}

// The searches of one thread over the lines, a batch of up to 64 sources at once, one bit per
// source: breadth-first counting shortest paths and keeping each line's links one step further,
// then back from the deepest level handing each line's share of the routes to the lines before
// it (Brandes). A level's lines are read once for all the sources that reach them there.
class LineWaveSearch {
public:
    LineWaveSearch(const LineLinks& links, std::span<const int> limits, UnitSums& sums)
        : m_links(links), m_limits(limits), m_deepest(Deepest(limits)), m_sums(sums),
          m_waves(links.lineCount()), m_paths(links.lineCount()), m_perPath(links.lineCount()) {}

    // The sources first..last-1, at most 64 of them.
    void run(int first, int last) {
        for (int source = first; source < last; ++source) {
            m_waves.start(source, source - first);
            m_paths[source][source - first] = 1.0;
        }
        search();
        for (std::size_t column = 0; column < m_limits.size(); ++column)
            handBack(m_limits[column], m_sums.column(column, m_links.lineCount()));
        for (const auto& entry : m_record.entries()) {
            double* paths = m_paths[entry.line];
            ForEachBit(entry.bits, [&](int bit) { paths[bit] = 0.0; });
        }
    }

private:
    // A link onto a deeper line, for the sources of the bits.
    struct Onward {
        int line;
        SourceBits bits;
    };

    void search() {
        m_record.clear();
        for (int level = 0; !m_waves.lines().empty(); ++level) {
            for (int line : m_waves.lines()) {
                const SourceBits bits = m_waves.fresh(line);
                if (level < m_deepest) {
                    const double* paths = m_paths[line];
                    const auto [first, last] = m_links.range(line);
                    for (std::size_t link = first; link < last; ++link) {
                        const int other = m_links.across[link];
                        const SourceBits deeper =
                            bits & ~(m_waves.seenBefore(other) | m_waves.fresh(other));
                        if (deeper != 0) {
                            double* onward = m_paths[other];
                            ForEachBit(deeper, [&](int bit) { onward[bit] += paths[bit]; });
                            m_waves.reach(other, deeper);
                            m_record.addLink({other, deeper});
                        }
                    }
                }
                m_record.addLine(line, bits);
            }
            m_record.closeLevel();
            m_waves.nextLevel();
        }
    }

    // A line's share is its paths times the sum, over its onward links within the limit, of
    // (1 + the link's share) per path of the link.
    void handBack(int limit, double* shares) {
        for (std::size_t level = LevelsWithin(limit, m_record.levelCount()); level-- > 0;) {
            const bool onward = level < static_cast<std::size_t>(limit);
            for (const auto& entry : m_record.level(level)) {
                double* perPath = m_perPath[entry.line];
                const double* paths = m_paths[entry.line];
                ForEachBit(entry.bits, [&](int bit) { perPath[bit] = 1.0 / paths[bit]; });
                if (!onward)
                    continue;
                double share = 0.0;
                for (const Onward& link : m_record.links(entry)) {
                    const double* next = m_perPath[link.line];
                    ForEachBit(link.bits, [&](int bit) {
                        perPath[bit] += next[bit];
                        share += paths[bit] * next[bit];
                    });
                }
                // A source takes no share of its own routes.
                if (level > 0)
                    shares[entry.line] += share;
            }
        }
    }

    const LineLinks& m_links;
    std::span<const int> m_limits;
    int m_deepest;
    UnitSums& m_sums;
    LineWaves m_waves;
    SourceRows m_paths;
    SourceRows m_perPath;
    LevelRecord<Onward> m_record;
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
    int lineCount() const { return static_cast<int>(lineOf.size()); }
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

// The searches of one thread for the junctions, a batch of up to 64 source junctions at once,
// one bit per source. A route between junctions runs along a line, turns onto a crossing line at
// a junction, and so on, so it is searched over the lines: the source junction's lines at depth
// 0, a junction at one more than its nearest line. The junctions a route passes through are the
// turns where it changes line; each line hands back, per path, 1 for each junction that ends a
// route on it and the share of each line it turns onto, and each turn takes the share of the
// routes through it. A level's lines are read once for all the sources that reach them there;
// the per-source values sit in a row of 64 per line.
class TurnWaveSearch {
public:
    TurnWaveSearch(const JunctionLinks& links, std::span<const int> limits, UnitSums& sums)
        : m_links(links), m_limits(limits), m_deepest(Deepest(limits)), m_sums(sums),
          m_waves(links.lineCount()), m_paths(links.lineCount()), m_ending(links.lineCount()),
          m_perPath(limits.size() > 1 ? links.lineCount() : 0) {}

    // The sources first..last-1, at most 64 of them.
    void run(int first, int last) {
        for (int source = first; source < last; ++source) {
            for (int line : m_links.linesOf[source]) {
                if (line >= 0) {
                    m_waves.start(line, source - first);
                    m_paths[line][source - first] = 1.0;
                }
            }
        }
        search(first, last);
        const int junctions = static_cast<int>(m_links.linesOf.size());
        // The widest radius comes last and hands back in the ending rows themselves, which
        // nothing reads after it, so that its lines need no copy of them.
        const auto widest = static_cast<std::size_t>(
            std::max_element(m_limits.begin(), m_limits.end()) - m_limits.begin());
        for (std::size_t column = 0; column < m_limits.size(); ++column) {
            if (column != widest)
                handBack(m_limits[column], m_sums.column(column, junctions), m_perPath);
        }
        handBack(m_limits[widest], m_sums.column(widest, junctions), m_ending);
        for (const auto& entry : m_record.entries()) {
            double* paths = m_paths[entry.line];
            ForEachBit(entry.bits, [&](int bit) { paths[bit] = 0.0; });
        }
    }

private:
    // A turn onto a deeper line, for the sources of the bits.
    struct Turn {
        int line;
        int junction;
        SourceBits bits;
    };

    // When a level's line is read, the lines across it have their final depths, and those at its
    // own depth their final path counts, so the share per path of the routes ending at its
    // junctions is known at once, whatever the radius; only the turns onto deeper lines are kept.
    void search(int first, int last) {
        m_record.clear();
        double ends[kSourcesPerWave];
        double endingShare[kSourcesPerWave];
        for (int level = 0; !m_waves.lines().empty(); ++level) {
            const bool expands = level < m_deepest;
            for (int line : m_waves.lines()) {
                const SourceBits bits = m_waves.fresh(line);
                const double* paths = m_paths[line];
                ForEachBit(bits, [&](int bit) { ends[bit] = endingShare[bit] = 0.0; });
                for (std::size_t link = m_links.offsets[line]; link < m_links.offsets[line + 1];
                     ++link) {
                    const auto [other, junction] = m_links.crossings[link];
                    if (other < 0) {
                        SourceBits ending = bits;
                        if (level == 0 && junction >= first && junction < last)
                            ending &= ~(SourceBits{1} << (junction - first));
                        ForEachBit(ending, [&](int bit) { ends[bit] += 1.0; });
                        continue;
                    }
                    const SourceBits deeper =
                        bits & ~(m_waves.seenBefore(other) | m_waves.fresh(other));
                    if (deeper != 0 && expands) {
                        double* onward = m_paths[other];
                        ForEachBit(deeper, [&](int bit) {
                            ends[bit] += 1.0;
                            onward[bit] += paths[bit];
                        });
                        m_waves.reach(other, deeper);
                        m_record.addLink({other, junction, deeper});
                    } else if (deeper != 0) {
                        ForEachBit(deeper, [&](int bit) { ends[bit] += 1.0; });
                    }
                    // Only the source junction joins two lines at depth 0.
                    if (level > 0) {
                        const double* across = m_paths[other];
                        ForEachBit(bits & m_waves.fresh(other), [&](int bit) {
                            endingShare[bit] += 1.0 / (paths[bit] + across[bit]);
                        });
                    }
                }
                double* ending = m_ending[line];
                ForEachBit(bits, [&](int bit) {
                    ending[bit] = endingShare[bit] + ends[bit] / paths[bit];
                });
                m_record.addLine(line, bits);
            }
            m_record.closeLevel();
            m_waves.nextLevel();
        }
    }

    // `limit` is the deepest line depth whose junctions lie within the radius. A line's share
    // per path is that of the routes ending at its junctions plus that of each line it turns
    // onto within the limit, whose turn junction takes the share of the routes through it. The
    // shares per path go to `perPaths`, which may be the ending rows themselves.
    void handBack(int limit, double* shares, SourceRows& perPaths) {
        for (std::size_t level = LevelsWithin(limit, m_record.levelCount()); level-- > 0;) {
            const bool turns = level < static_cast<std::size_t>(limit);
            for (const auto& entry : m_record.level(level)) {
                double* perPath = perPaths[entry.line];
                const double* ending = m_ending[entry.line];
                if (perPath != ending)
                    ForEachBit(entry.bits, [&](int bit) { perPath[bit] = ending[bit]; });
                if (!turns)
                    continue;
                const double* paths = m_paths[entry.line];
                for (const Turn& turn : m_record.links(entry)) {
                    const double* onward = perPaths[turn.line];
                    double through = 0.0;
                    ForEachBit(turn.bits, [&](int bit) {
                        perPath[bit] += onward[bit];
                        through += paths[bit] * onward[bit];
                    });
                    shares[turn.junction] += through;
                }
            }
        }
    }

    const JunctionLinks& m_links;
    std::span<const int> m_limits;
    int m_deepest;
    UnitSums& m_sums;
    LineWaves m_waves;
    // Per line and source: paths, the share per path of the routes ending there, and the whole
    // share per path for all radii but the widest (none when there is one radius).
    SourceRows m_paths;
    SourceRows m_ending;
    SourceRows m_perPath;
    LevelRecord<Turn> m_record;
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
    RunUnits(units, options.threads, options.progress, options.sharing, [&] {
        std::vector<Fixed>* sums = nullptr;
        {
            const std::lock_guard lock(threadSumsMutex);
            sums = &threadSums.emplace_back(limits.size() * items, Fixed{0});
        }
        auto unitSums = std::make_unique<UnitSums>(*sums);
        auto search = std::make_unique<Search>(links, limits, *unitSums);
        return
            [unitSums = std::move(unitSums), search = std::move(search), items](int unit) mutable {
                search->run(unit * kSourcesPerUnit, std::min(items, (unit + 1) * kSourcesPerUnit));
                unitSums->closeUnit();
            };
    });

    std::vector<Fixed> sums(limits.size() * items, Fixed{0});
    for (const std::vector<Fixed>& thread : threadSums) {
        for (std::size_t cell = 0; cell < sums.size(); ++cell)
            sums[cell] += thread[cell];
    }
    threadSums.clear();
    if (options.sharing)
        SumOverProcesses(*options.sharing, sums);
    for (std::size_t column = 0; column < limits.size(); ++column) {
        for (int item = 0; item < items; ++item) {
            // Every pair was counted from both of its ends.
            choice[column][itemOf[item]] = FromFixed(sums[column * items + item]) / 2.0;
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
    return Choice<LineWaveSearch>(links, graph.lineCount(), links.lineOf, Limits(radiusSteps, 0),
                                  options);
}

// A junction's depth is one more than its nearest line's.
std::vector<std::vector<double>> ComputeJunctionChoice(const MapGraph& graph,
                                                       std::span<const int> radiusSteps,
                                                       const ChoiceOptions& options) {
    const JunctionLinks links = Junctions(graph);
    return Choice<TurnWaveSearch>(links, graph.junctionCount(), links.junctionOf,
                                  Limits(radiusSteps, 1), options);
}

std::chrono::duration<double> EstimateJunctionChoiceTime(const MapGraph& graph, int threads) {
    const JunctionLinks links = Junctions(graph);
    const int items = graph.junctionCount();
    const int units = (items + kSourcesPerUnit - 1) / kSourcesPerUnit;
    if (units == 0)
        return {};
    const int limits[] = {kUnlimitedSteps};
    std::vector<Fixed> sums(items, Fixed{0});
    UnitSums unitSums(sums);
    TurnWaveSearch search(links, limits, unitSums);
    const std::set<int> sampled = {0, units / 2};
    const auto started = std::chrono::steady_clock::now();
    for (const int unit : sampled)
        search.run(unit * kSourcesPerUnit, std::min(items, (unit + 1) * kSourcesPerUnit));
    const std::chrono::duration<double> perUnit =
        (std::chrono::steady_clock::now() - started) / static_cast<double>(sampled.size());
    return perUnit * units / std::max(1, std::min(threads, units));
}

} // namespace vantrel::analysis

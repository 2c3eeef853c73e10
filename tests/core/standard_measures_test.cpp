// The field's standard measures against a straightforward implementation of their definitions
// and against a peer tool's values for a street map.
#include "core/analysis/choice.h"
#include "core/analysis/item_measures.h"
#include "core/geometry/intersections.h"
#include "core/io/axial_line_reader.h"
#include "support/map_generators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <numeric>
#include <queue>
#include <random>
#include <sstream>
#include <string>

namespace vantrel::analysis {
namespace {

using maps::JunctionOf;
using maps::MapData;

using Adjacency = std::vector<std::vector<int>>;

Adjacency LineAdjacency(const MapGraph& graph) {
    Adjacency adjacency(graph.lineCount());
    for (int line = 0; line < graph.lineCount(); ++line) {
        const auto neighbours = graph.neighbours(line);
        adjacency[line].assign(neighbours.begin(), neighbours.end());
    }
    return adjacency;
}

Adjacency JunctionAdjacency(const MapGraph& graph) {
    Adjacency adjacency(graph.junctionCount());
    for (int a = 0; a < graph.junctionCount(); ++a) {
        for (int b = 0; b < graph.junctionCount(); ++b) {
            const auto linesA = graph.linesOf(a);
            const auto linesB = graph.linesOf(b);
            const bool share = std::any_of(linesA.begin(), linesA.end(), [&](int line) {
                return std::find(linesB.begin(), linesB.end(), line) != linesB.end();
            });
            if (a != b && share)
                adjacency[a].push_back(b);
        }
    }
    return adjacency;
}

// Every item's depths and shortest-path counts, by one search per item.
struct AllPairs {
    std::vector<std::vector<int>> depth;    // -1 when not connected
    std::vector<std::vector<double>> paths; // number of shortest paths
};

AllPairs SearchAll(const Adjacency& adjacency) {
    const int n = static_cast<int>(adjacency.size());
    AllPairs all{std::vector(n, std::vector(n, -1)), std::vector(n, std::vector(n, 0.0))};
    for (int source = 0; source < n; ++source) {
        auto& depth = all.depth[source];
        auto& paths = all.paths[source];
        std::queue<int> queue;
        depth[source] = 0;
        paths[source] = 1;
        queue.push(source);
        while (!queue.empty()) {
            const int item = queue.front();
            queue.pop();
            for (int next : adjacency[item]) {
                if (depth[next] < 0) {
                    depth[next] = depth[item] + 1;
                    queue.push(next);
                }
                if (depth[next] == depth[item] + 1)
                    paths[next] += paths[item];
            }
        }
    }
    return all;
}

// The definitions, item by item, within `radius` steps.
struct Expected {
    int nodeCount = 1;
    long long totalDepth = 0;
    Measure meanDepth, ra, rra, integrationHH, integrationTekl, entropy, harmonic, choiceNorm;
    double choice = 0;
    double control = 0;
    Measure controllability;
};

Expected ByDefinition(const Adjacency& adjacency, const AllPairs& all, int item, int radius) {
    const int n = static_cast<int>(adjacency.size());
    const auto within = [&](int a, int b) {
        return all.depth[a][b] > 0 && all.depth[a][b] <= radius;
    };
    Expected e;
    std::map<int, int> atDepth;
    double inverse = 0;
    for (int other = 0; other < n; ++other) {
        if (within(item, other)) {
            ++e.nodeCount;
            e.totalDepth += all.depth[item][other];
            ++atDepth[all.depth[item][other]];
            inverse += 1.0 / all.depth[item][other];
        }
    }
    const double k = e.nodeCount;
    if (k >= 2) {
        e.meanDepth = e.totalDepth / (k - 1);
        e.harmonic = (k - 1) / inverse;
        double entropy = 0;
        for (const auto& [depth, count] : atDepth)
            entropy -= count / (k - 1) * std::log2(count / (k - 1));
        e.entropy = entropy;
    }
    if (k > 2 && *e.meanDepth > 1) {
        e.ra = 2 * (*e.meanDepth - 1) / (k - 2);
        const double diamond = 2 * (k * (std::log2((k + 2) / 3) - 1) + 1) / ((k - 1) * (k - 2));
        e.rra = *e.ra / diamond;
        e.integrationHH = 1 / *e.rra;
    }
    if (k > 2 && e.totalDepth - k + 1 > 1)
        e.integrationTekl = std::log((k - 2) / 2) / std::log(e.totalDepth - k + 1);
    for (int s = 0; s < n; ++s) {
        for (int t = s + 1; t < n; ++t) {
            if (s != item && t != item && within(s, t) && within(s, item) &&
                all.depth[s][item] + all.depth[item][t] == all.depth[s][t])
                e.choice += all.paths[s][item] * all.paths[item][t] / all.paths[s][t];
        }
    }
    if (k >= 3)
        e.choiceNorm = e.choice / ((k - 1) * (k - 2) / 2);
    int withinTwo = 0;
    for (int other = 0; other < n; ++other)
        withinTwo += all.depth[item][other] == 1 || all.depth[item][other] == 2;
    for (int neighbour : adjacency[item])
        e.control += 1.0 / static_cast<double>(adjacency[neighbour].size());
    if (withinTwo > 0)
        e.controllability = static_cast<double>(adjacency[item].size()) / withinTwo;
    return e;
}

// Equal up to the last bits that a different order of the same sums gives.
void ExpectSame(const Measure& actual, const Measure& expected, const std::string& what) {
    ASSERT_EQ(actual.has_value(), expected.has_value()) << what;
    if (actual) {
        EXPECT_TRUE(std::isfinite(*actual)) << what;
        EXPECT_NEAR(*actual, *expected, 1e-10 * std::max(1.0, std::fabs(*expected))) << what;
    }
}

void ExpectByDefinition(const ItemMeasures& measures, const Adjacency& adjacency,
                        const std::string& map) {
    const AllPairs all = SearchAll(adjacency);
    for (const SyntaxColumns& columns : measures.syntax) {
        const int radius = columns.radius.steps == MeasureRadius::kN ? 1 << 20 : columns.steps;
        for (int item = 0; item < measures.itemCount(); ++item) {
            const std::string what = map + ", radius " + std::to_string(columns.radius.steps) +
                                     ", item " + std::to_string(item + 1);
            const Expected e = ByDefinition(adjacency, all, item, radius);
            EXPECT_EQ(columns.nodeCount[item], e.nodeCount) << what;
            EXPECT_EQ(columns.totalDepth[item], e.totalDepth) << what;
            ExpectSame(columns.meanDepth[item], e.meanDepth, what + " mean depth");
            ExpectSame(columns.ra[item], e.ra, what + " ra");
            ExpectSame(columns.rra[item], e.rra, what + " rra");
            ExpectSame(columns.integrationHH[item], e.integrationHH, what + " hh");
            ExpectSame(columns.integrationTekl[item], e.integrationTekl, what + " tekl");
            ExpectSame(columns.entropy[item], e.entropy, what + " entropy");
            ExpectSame(columns.harmonicMeanDepth[item], e.harmonic, what + " harmonic");
            ExpectSame(columns.choice[item], e.choice, what + " choice");
            ExpectSame(columns.choiceNorm[item], e.choiceNorm, what + " choice norm");
            ExpectSame(measures.control[item], e.control, what + " control");
            ExpectSame(measures.controllability[item], e.controllability,
                       what + " controllability");
        }
    }
}

const std::vector<MeasureRadius> kRadii = {{1}, {2}, {3}};

void CheckBothGraphs(const MapData& map, const std::string& name) {
    const MapGraph graph(map.lineCount, map.junctions);
    const std::vector<AxialLine> lines(map.lineCount);
    const MeasureOptions options{.radii = kRadii, .choice = true};
    ExpectByDefinition(MeasureLines(graph, ComputeLineDepths(graph), Widened(lines), options),
                       LineAdjacency(graph), name + " (lines)");
    ExpectByDefinition(MeasureJunctions(graph, ComputeJunctionDepths(graph), options),
                       JunctionAdjacency(graph), name + " (junctions)");
}

TEST(StandardMeasures, SmallMapsAgreeWithTheDefinitionsForLinesAndJunctions) {
    CheckBothGraphs({4, {JunctionOf(1, 2), JunctionOf(2, 3), JunctionOf(3, 4)}}, "chain");
    CheckBothGraphs({3, {JunctionOf(1, 2), JunctionOf(1, 3), JunctionOf(2, 3)}}, "triangle");
    CheckBothGraphs({5, {JunctionOf(1, 2), JunctionOf(1, 3), JunctionOf(1, 4), JunctionOf(1, 5)}},
                    "star");
    CheckBothGraphs({7,
                     {JunctionOf(1, 2), JunctionOf(2, 3), JunctionOf(1, 3), JunctionOf(4, 5),
                      JunctionOf(5, 6)}},
                    "two groups and an isolated line");
    CheckBothGraphs({6,
                     {JunctionOf(1, 2), JunctionOf(2, 3), JunctionOf(3, 4), JunctionOf(4, 1),
                      JunctionOf(3, 5), JunctionOf(5, 6), JunctionOf(6, 1)}},
                    "two rings");
    // Number 0 names no line: junctions on one line only, and one on none.
    CheckBothGraphs({4,
                     {JunctionOf(1, 2), JunctionOf(2, 3), JunctionOf(3, 4), JunctionOf(2, 0),
                      JunctionOf(3, 3), JunctionOf(0, 0)}},
                    "junctions on fewer than two lines");
    std::mt19937 random(14);
    for (int map = 0; map < 6; ++map)
        CheckBothGraphs(maps::GrowingMap(random, 12 + 4 * map, 20 + 8 * map, 5),
                        "growing map " + std::to_string(map));
    // More lines and junctions than one batch of searches takes.
    CheckBothGraphs(maps::GrowingMap(random, 80, 150, 8), "larger growing map");
}

TEST(StandardMeasures, ItemsWithTooFewOthersWithinReachHaveNoValuesButNeverInfinity) {
    // Line 3 is isolated; lines 1 and 2 only reach each other (k = 2); a star centre has MD 1.
    const MapData map{7, {JunctionOf(1, 2), JunctionOf(4, 5), JunctionOf(4, 6), JunctionOf(4, 7)}};
    const MapGraph graph(map.lineCount, map.junctions);
    const std::vector<AxialLine> lines(map.lineCount);
    const ItemMeasures measures = MeasureLines(graph, ComputeLineDepths(graph), Widened(lines),
                                               {.radii = {}, .choice = true});
    const SyntaxColumns& n = measures.syntax.front();
    EXPECT_EQ(n.nodeCount[2], 1);
    EXPECT_FALSE(n.meanDepth[2] || n.entropy[2] || n.harmonicMeanDepth[2] || n.choiceNorm[2]);
    EXPECT_FALSE(measures.controllability[2]);
    EXPECT_EQ(measures.control[2], 0.0);
    EXPECT_EQ(n.nodeCount[0], 2);
    EXPECT_EQ(n.meanDepth[0], 1.0);
    EXPECT_FALSE(n.ra[0] || n.rra[0] || n.integrationHH[0] || n.integrationTekl[0]);
    EXPECT_FALSE(n.ra[3] || n.integrationHH[3]); // the star's centre: MD = 1
    EXPECT_EQ(n.choice[3], 3.0);
    EXPECT_EQ(n.choiceNorm[3], 1.0);
}

TEST(StandardMeasures, ChoiceIsTheSameWhateverTheThreadCount) {
    std::mt19937 random(7);
    const MapData map = maps::GrowingMap(random, 400, 1000, 30);
    const MapGraph graph(map.lineCount, map.junctions);
    const std::vector<int> radii = {3, kUnlimitedSteps};
    EXPECT_EQ(ComputeLineChoice(graph, radii, {.threads = 1}),
              ComputeLineChoice(graph, radii, {.threads = 3}));
    EXPECT_EQ(ComputeJunctionChoice(graph, radii, {.threads = 1}),
              ComputeJunctionChoice(graph, radii, {.threads = 2}));
}

// A chain deeper than the searches' level count wraps: on a path every pair either side of an
// item routes through it.
TEST(StandardMeasures, ChoiceOnAChainOfThreeHundredLines) {
    MapData chain{300, {}};
    for (int line = 1; line < chain.lineCount; ++line)
        chain.junctions.push_back(JunctionOf(line, line + 1));
    const MapGraph graph(chain.lineCount, chain.junctions);
    const std::vector<int> radii = {kUnlimitedSteps};
    const std::vector<double> lines = ComputeLineChoice(graph, radii).front();
    const std::vector<double> junctions = ComputeJunctionChoice(graph, radii).front();
    for (int item = 0; item < 300; ++item)
        EXPECT_EQ(lines[item], double(item) * (299 - item)) << "line " << item + 1;
    for (int item = 0; item < 299; ++item)
        EXPECT_EQ(junctions[item], double(item) * (298 - item)) << "junction " << item + 1;
}

// The peer's table, column by heading, one row per line.
std::map<std::string, std::vector<double>> ReadPeerTable(const std::string& path) {
    std::ifstream in(path);
    std::string row;
    const auto nextRow = [&] {
        const bool read = static_cast<bool>(std::getline(in, row));
        if (!row.empty() && row.back() == '\r')
            row.pop_back();
        return read;
    };
    nextRow();
    std::vector<std::string> headings;
    std::stringstream header(row);
    for (std::string heading; std::getline(header, heading, ',');)
        headings.push_back(heading);
    std::map<std::string, std::vector<double>> table;
    while (nextRow()) {
        std::stringstream fields(row);
        std::string field;
        for (const std::string& heading : headings) {
            std::getline(fields, field, ',');
            table[heading].push_back(std::stod(field));
        }
    }
    return table;
}

std::vector<double> Ranks(const std::vector<double>& values) {
    std::vector<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return values[a] < values[b]; });
    std::vector<double> ranks(values.size());
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i;
        while (j < order.size() && values[order[j]] == values[order[i]])
            ++j;
        for (std::size_t tied = i; tied < j; ++tied)
            ranks[order[tied]] = (i + j - 1) / 2.0;
        i = j;
    }
    return ranks;
}

double Spearman(const std::vector<double>& a, const std::vector<double>& b) {
    const std::vector<double> ra = Ranks(a), rb = Ranks(b);
    const double mean = (a.size() - 1) / 2.0;
    double products = 0, squaresA = 0, squaresB = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        products += (ra[i] - mean) * (rb[i] - mean);
        squaresA += (ra[i] - mean) * (ra[i] - mean);
        squaresB += (rb[i] - mean) * (rb[i] - mean);
    }
    return products / std::sqrt(squaresA * squaresB);
}

TEST(StandardMeasures, AgreeWithThePeerToolOnAStreetMap) {
    std::ifstream in(VANTREL_TEST_DATA "/reference/street_397.csv");
    const std::vector<AxialLine> lines = io::ReadAxialLines(in).lines;
    ASSERT_EQ(lines.size(), 397u);
    const MapGraph graph(static_cast<int>(lines.size()),
                         geometry::FindAllJunctions(Widened(lines)));
    const std::vector<MeasureRadius> radii = {{3}};
    const ItemMeasures measures = MeasureLines(graph, ComputeLineDepths(graph), Widened(lines),
                                               {.radii = radii, .choice = true, .threads = 2});
    auto peer = ReadPeerTable(VANTREL_TEST_DATA "/reference/street_397_peer_measures.csv");

    const auto expectClose = [&](const std::string& heading, auto value) {
        const std::vector<double>& expected = peer.at(heading);
        for (int line = 0; line < measures.itemCount(); ++line) {
            const Measure actual = value(line);
            const std::string what = heading + ", line " + std::to_string(line + 1);
            if (expected[line] == -1) {
                EXPECT_FALSE(actual) << what;
            } else {
                ASSERT_TRUE(actual) << what;
                EXPECT_LE(std::fabs(*actual - expected[line]), 1e-6 * std::fabs(expected[line]))
                    << what << ": " << *actual << " against the peer's " << expected[line];
            }
        }
    };
    expectClose("Control", [&](int line) { return Measure(measures.control[line]); });
    expectClose("Controllability", [&](int line) { return measures.controllability[line]; });
    expectClose("Line Length", [&](int line) { return Measure(measures.lineLength[line]); });
    for (const SyntaxColumns& columns : measures.syntax) {
        const std::string suffix = columns.radius.steps == 3 ? " R3" : "";
        expectClose("Node Count" + suffix, [&](int i) { return Measure(columns.nodeCount[i]); });
        expectClose("Total Depth" + suffix, [&](int i) { return Measure(columns.totalDepth[i]); });
        expectClose("Mean Depth" + suffix, [&](int i) { return columns.meanDepth[i]; });
        expectClose("RA" + suffix, [&](int i) { return columns.ra[i]; });
        expectClose("RRA" + suffix, [&](int i) { return columns.rra[i]; });
        expectClose("Integration [HH]" + suffix, [&](int i) { return columns.integrationHH[i]; });
        expectClose("Integration [Tekl]" + suffix,
                    [&](int i) { return columns.integrationTekl[i]; });
        // The peer follows one random shortest path per pair, so its choice is a sample of the
        // exact one (its sum is exactly twice ours); at radius 3, with few routes per line, the
        // sample ranks the lines at 0.988.
        const double agreement = suffix.empty() ? 0.99 : 0.985;
        EXPECT_GE(Spearman(columns.choice, peer.at("Choice" + suffix)), agreement) << suffix;
    }
}

} // namespace
} // namespace vantrel::analysis

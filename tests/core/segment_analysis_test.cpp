// Segment analysis against a straightforward implementation of its definitions, its edge cases,
// and its independence of the thread count.
#include "core/segment/segment_analysis.h"
#include "core/segment/segment_search.h"
#include "support/segment_cases.h"
#include "support/street_maps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace vantrel::segment {
namespace {

// Every best route, written out: the best key of every state by relaxing all steps until nothing
// improves, then every route along steps that keep to those keys, walked one by one.
class AllRoutes {
public:
    AllRoutes(const SearchGraph& graph, const SearchLimits& limits, bool countSteps)
        : m_graph(graph), m_limits(limits), m_countSteps(countSteps) {}

    // Adds what the routes from `origin` give to every segment's choice and weighted choice, and
    // returns the origin's node count and total depth (in primary units).
    std::pair<int, std::int64_t> add(int origin, std::span<const double> lengths,
                                     std::vector<double>& choice, std::vector<double>& weighted) {
        const int states = 2 * m_graph.segmentCount();
        m_best.assign(static_cast<std::size_t>(states), std::nullopt);
        m_best[2 * origin] = m_best[2 * origin + 1] = RouteKey{};
        for (bool changed = true; changed;) {
            changed = false;
            for (int state = 0; state < states; ++state) {
                if (!m_best[state])
                    continue;
                for (auto step = m_graph.firstStep(state); step < m_graph.endStep(state); ++step) {
                    const RouteKey next = following(*m_best[state], step);
                    auto& best = m_best[m_graph.target(step)];
                    if (within(next) && (!best || next < *best)) {
                        best = next;
                        changed = true;
                    }
                }
            }
        }
        // A segment's best states: the better of its two, or both when they tie.
        m_routesTo.assign(static_cast<std::size_t>(m_graph.segmentCount()), 0);
        m_through.assign(static_cast<std::size_t>(m_graph.segmentCount()), {});
        std::vector<int> path{2 * origin};
        walk(path);
        path = {2 * origin + 1};
        walk(path);

        int nodes = 0;
        std::int64_t depth = 0;
        for (int segment = 0; segment < m_graph.segmentCount(); ++segment) {
            const auto key = segmentKey(segment);
            if (!key)
                continue;
            ++nodes;
            depth += key->primary;
            if (segment == origin)
                continue;
            const double pair = lengths[origin] * lengths[segment];
            weighted[origin] += pair / 2;
            weighted[segment] += pair / 2;
            for (const auto& [through, routes] : m_through[segment]) {
                choice[through] += routes / m_routesTo[segment];
                weighted[through] += pair * routes / m_routesTo[segment];
            }
        }
        return {nodes, depth};
    }

private:
    RouteKey following(const RouteKey& key, std::int64_t step) const {
        const StepCost cost = m_graph.cost(step);
        return {key.primary + cost.primary, key.secondary + cost.secondary,
                key.steps + (m_countSteps ? 1 : 0)};
    }
    bool within(const RouteKey& key) const {
        return key.primary <= m_limits.primary && key.secondary <= m_limits.secondary &&
               key.steps <= m_limits.steps;
    }
    std::optional<RouteKey> segmentKey(int segment) const {
        const auto& a = m_best[2 * segment];
        const auto& b = m_best[2 * segment + 1];
        if (!a || !b)
            return a ? a : b;
        return std::min(*a, *b);
    }

    void walk(std::vector<int>& path) {
        const int state = path.back();
        const int segment = state / 2;
        if (path.size() > 1 && *m_best[state] == *segmentKey(segment)) {
            ++m_routesTo[segment];
            std::set<int> inside;
            for (std::size_t at = 1; at + 1 < path.size(); ++at)
                inside.insert(path[at] / 2);
            inside.erase(path.front() / 2);
            inside.erase(segment);
            for (const int through : inside)
                ++m_through[segment][through];
        }
        for (auto step = m_graph.firstStep(state); step < m_graph.endStep(state); ++step) {
            const int next = m_graph.target(step);
            if (m_best[next] && following(*m_best[state], step) == *m_best[next]) {
                path.push_back(next);
                walk(path);
                path.pop_back();
            }
        }
    }

    const SearchGraph& m_graph;
    SearchLimits m_limits;
    bool m_countSteps;
    std::vector<std::optional<RouteKey>> m_best;
    std::vector<double> m_routesTo;
    std::vector<std::map<int, double>> m_through;
};

// Small maps full of loops and ties: lines between whole-number points of a small square.
std::vector<MapLine> RandomLines(std::mt19937& random, int count, int size) {
    std::uniform_int_distribution<int> coordinate(0, size);
    std::vector<MapLine> lines;
    while (static_cast<int>(lines.size()) < count) {
        const MapLine line{double(coordinate(random)), double(coordinate(random)),
                           double(coordinate(random)), double(coordinate(random))};
        if (line.x1 != line.x2 || line.y1 != line.y2)
            lines.push_back(line);
    }
    return lines;
}

void ExpectSameAsAllRoutes(const SegmentMap& map, const SegmentAnalysisOptions& options) {
    const auto results = AnalyseSegments(map, options);
    const SearchGraph graph(map, options.depth, options.tulipBins);
    // Routes are walked over the graph's places of the segments.
    std::vector<double> lengths;
    for (int place = 0; place < map.segmentCount(); ++place)
        lengths.push_back(map.segment(graph.segmentAt(place)).length);
    for (std::size_t radius = 0; radius < options.radii.size(); ++radius) {
        SearchLimits limits;
        const double value = options.radii[radius];
        if (value != kRadiusN && options.radiusKind == RadiusKind::Metric)
            limits.secondary = graph.lengthUnits(value);
        if (value != kRadiusN && options.radiusKind == RadiusKind::Steps)
            limits.steps = static_cast<int>(value);
        AllRoutes routes(graph, limits, limits.steps != SearchLimits().steps);
        const auto size = static_cast<std::size_t>(map.segmentCount());
        std::vector<double> choice(size), weighted(size);
        for (int origin = 0; origin < map.segmentCount(); ++origin) {
            const auto [nodes, depth] =
                routes.add(graph.placeOf(origin), lengths, choice, weighted);
            EXPECT_EQ(results[radius].nodeCount[origin], nodes) << "origin " << origin;
            EXPECT_EQ(results[radius].totalDepth[origin], graph.depthOf(double(depth)));
        }
        for (int segment = 0; segment < map.segmentCount(); ++segment) {
            const auto place = static_cast<std::size_t>(graph.placeOf(segment));
            EXPECT_NEAR(results[radius].choice[segment], choice[place], 1e-9)
                << "segment " << segment << " radius " << value;
            EXPECT_NEAR(results[radius].weightedChoice[segment], weighted[place],
                        1e-9 * std::max(1.0, weighted[place]));
        }
    }
}

TEST(SegmentChoice, SharesEveryBestRouteEquallyAsTheDefinitionSays) {
    std::mt19937 random(5);
    for (int map = 0; map < 12; ++map) {
        SCOPED_TRACE("map " + std::to_string(map));
        const std::vector<MapLine> lines = RandomLines(random, 5, 6);
        const SegmentMap axial =
            SegmentsFromAxialLines(lines, geometry::FindAllJunctions(lines), 0);
        const SegmentMap roads = SegmentsFromRoadCentreLines(RandomLines(random, 14, 3), 0).map;
        for (const SegmentMap* segments : {&axial, &roads}) {
            ExpectSameAsAllRoutes(*segments, {.radii = {kRadiusN, 3}, .choice = true});
            ExpectSameAsAllRoutes(
                *segments,
                {.tulipBins = 8, .radiusKind = RadiusKind::Steps, .radii = {2}, .choice = true});
            ExpectSameAsAllRoutes(*segments, {.depth = DepthKind::Metric, .choice = true});
            // Unbinned turns too large for the search's compact steps.
            ExpectSameAsAllRoutes(*segments, {.tulipBins = 0, .choice = true});
        }
    }
}

TEST(SegmentChoice, AroundASquareEverySegmentCarriesOneRouteEachWay) {
    const auto results = AnalyseSegments(reference::CaseMap("seg_square"), {.choice = true});
    EXPECT_EQ(results[0].choice, std::vector<double>(4, 1.0));
    EXPECT_EQ(results[0].totalDepth, std::vector<double>(4, 4.0));
}

// The columns of a map's analysis at radius n, with choice.
reference::ColumnLookup Columns(const SegmentMap& map, int tulipBins = 1024) {
    return reference::ColumnLookup(map,
                                   AnalyseSegments(map, {.tulipBins = tulipBins, .choice = true}));
}

TEST(SegmentEdgeCases, ALoneSegmentHasNoMeanDepthIntegrationOrNormalisedValues) {
    const std::vector<MapLine> lines = {{0, 0, 10, 0}};
    const SegmentMap map = SegmentsFromAxialLines(lines, {}, 0);
    const auto columns = Columns(map);
    EXPECT_EQ(columns.value("node_count", 0), 1);
    EXPECT_EQ(columns.value("total_depth", 0), 0);
    EXPECT_EQ(columns.value("choice", 0), 0);
    EXPECT_EQ(columns.value("total_length", 0), 10);
    for (const char* undefined : {"mean_depth", "integration", "nain", "nach", "integration_wl"})
        EXPECT_FALSE(columns.value(undefined, 0)) << undefined;
}

TEST(SegmentEdgeCases, TwoSegmentsInAStraightLineHaveDepthZeroAndNoIntegration) {
    const std::vector<MapLine> lines = {{0, 0, 1, 0}, {1, 0, 3, 0}};
    const SegmentMap map = SegmentsFromRoadCentreLines(lines, 0).map;
    const auto columns = Columns(map);
    EXPECT_EQ(columns.value("node_count", 0), 2);
    EXPECT_EQ(columns.value("total_depth", 0), 0);
    EXPECT_EQ(columns.value("mean_depth", 0), 0);
    EXPECT_FALSE(columns.value("integration", 0));
    EXPECT_EQ(columns.value("nain", 0), std::pow(2.0, 1.2) / 2);
    EXPECT_EQ(columns.value("nach", 0), 0);
}

TEST(SegmentEdgeCases, ASegmentOfZeroLengthIsLeftOutOfRoadsAndStandsAloneInAnAxialMap) {
    const std::vector<MapLine> lines = {
        {0, 0, 10, 0}, {10, 0, 10, 0}, {10, 0, 10, 10}, {10, 0, 20, 0}, {0, 0, 10, 0}};
    const RoadCentreLines roads = SegmentsFromRoadCentreLines(lines, 0);
    EXPECT_EQ(roads.zeroLength, 1);
    EXPECT_EQ(roads.repeated, 1);
    ASSERT_EQ(roads.map.segmentCount(), 3);
    EXPECT_EQ(roads.map.connectivity(0), 2);

    const std::vector<MapLine> axialLines = {{0, 0, 10, 0}, {5, 5, 5, 5}, {5, -5, 5, 5}};
    const SegmentMap axial =
        SegmentsFromAxialLines(axialLines, geometry::FindAllJunctions(axialLines), 0);
    const auto columns = Columns(axial);
    int alone = -1;
    for (int segment = 0; segment < axial.segmentCount(); ++segment)
        if (axial.segment(segment).length == 0)
            alone = segment;
    ASSERT_GE(alone, 0);
    EXPECT_EQ(columns.value("node_count", alone), 1);
    EXPECT_FALSE(columns.value("nain", alone));
    EXPECT_EQ(GroupsOf(axial).isolated, 1);
    EXPECT_EQ(GroupsOf(axial).groups, 1);
}

TEST(SegmentEdgeCases, SegmentsMeetingAtOnePointFromManyDirectionsAllMeetOnce) {
    // Eight roads leave the centre at 45 degrees apart.
    std::vector<MapLine> lines;
    for (int k = 0; k < 8; ++k) {
        const double angle = k * std::numbers::pi / 4;
        lines.push_back({0, 0, 10 * std::cos(angle), 10 * std::sin(angle)});
    }
    const SegmentMap map = SegmentsFromRoadCentreLines(lines, 0).map;
    const auto columns = Columns(map);
    for (int segment = 0; segment < 8; ++segment) {
        EXPECT_EQ(map.connectivity(segment), 7);
        // Straight on to the opposite road, and turns of 0.5, 1 and 1.5 right angles both ways.
        EXPECT_EQ(columns.value("total_depth", segment), 6);
        EXPECT_EQ(columns.value("choice", segment), 0);
    }
}

TEST(SegmentEdgeCases, AFullReversalCostsTwoRightAnglesAndHalfABinMoreWithBins) {
    const SegmentMap map = SegmentsFromRoadCentreLines({{{0, 0, 10, 0}, {10, 0, 5, 0}}}, 0).map;
    EXPECT_EQ(AnalyseSegments(map, {.tulipBins = 0})[0].totalDepth, std::vector<double>(2, 2.0));
    // 1024 bins count a turn of w right angles as floor(256.5 w) / 256.
    EXPECT_EQ(AnalyseSegments(map, {})[0].totalDepth, std::vector<double>(2, 513.0 / 256));
}

TEST(SegmentAnalysisThreads, ResultsAreTheSameBitForBitOnAnyNumberOfThreads) {
    const SegmentMap map = SegmentsFromRoadCentreLines(maps::StreetNetwork(1500, 3), 0).map;
    SegmentAnalysisOptions options{.radii = {kRadiusN, 250}, .choice = true};
    const auto one = AnalyseSegments(map, options);
    options.threads = 3;
    const auto three = AnalyseSegments(map, options);
    for (std::size_t radius = 0; radius < one.size(); ++radius) {
        EXPECT_EQ(one[radius].nodeCount, three[radius].nodeCount);
        EXPECT_EQ(one[radius].totalDepth, three[radius].totalDepth);
        EXPECT_EQ(one[radius].weightedTotalDepth, three[radius].weightedTotalDepth);
        EXPECT_EQ(one[radius].choice, three[radius].choice);
        EXPECT_EQ(one[radius].weightedChoice, three[radius].weightedChoice);
    }
}

} // namespace
} // namespace vantrel::segment

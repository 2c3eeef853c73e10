// Preparing raw street data: each cleaning step on small hand-made maps, the synthetic town that
// prepares to its clean drawing, and preparing a prepared map again.
#include "core/streets/preparation.h"
#include "core/streets/segment_grid.h"

#include "../../bench/synthetic_town.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <tuple>
#include <vector>

namespace vantrel::streets {
namespace {

using Point = geometry::DoublePoint;
using Key = std::tuple<double, double, double, double>;

struct Way {
    std::int64_t id;
    std::vector<Point> points;
};

struct Map {
    std::vector<MapLine> pieces;
    std::vector<std::int64_t> ids;
};

// The pieces of ways, as the batch tool reads a layer.
Map Pieces(const std::vector<Way>& ways) {
    Map map;
    for (const Way& way : ways)
        for (std::size_t at = 0; at + 1 < way.points.size(); ++at) {
            map.pieces.push_back(
                {way.points[at].x, way.points[at].y, way.points[at + 1].x, way.points[at + 1].y});
            map.ids.push_back(way.id);
        }
    return map;
}

// Segments without their direction, to compare maps as sets.
std::set<Key> Segments(const std::vector<MapLine>& lines) {
    std::set<Key> set;
    for (const MapLine& line : lines)
        set.insert(std::min(Key{line.x1, line.y1, line.x2, line.y2},
                            Key{line.x2, line.y2, line.x1, line.y1}));
    return set;
}

Key S(double x1, double y1, double x2, double y2) {
    return std::min(Key{x1, y1, x2, y2}, Key{x2, y2, x1, y1});
}

StreetSettings Defaults() {
    StreetSettings settings;
    settings.snapDistance = 0.1;
    settings.simplifyAngle = 5;
    settings.checkDistance = 2;
    return settings;
}

StreetSettings Unsimplified() {
    StreetSettings settings = Defaults();
    settings.simplifyAngle = 0;
    return settings;
}

PreparedStreets Prepare(const std::vector<Way>& ways, const StreetSettings& settings) {
    const Map map = Pieces(ways);
    return PrepareStreets(map.pieces, map.ids, settings);
}

int CountProblems(const PreparedStreets& prepared, ProblemType type, bool fixed) {
    return static_cast<int>(
        std::count_if(prepared.problems.begin(), prepared.problems.end(),
                      [&](const Problem& p) { return p.type == type && p.fixed == fixed; }));
}

// Every count of a change made.
int Changes(const StreetCounts& counts) {
    return counts.zeroLength + counts.duplicates + counts.overlapSegments + counts.snappedToEnds +
           counts.snappedToLines + counts.joinedOnLines + counts.simplifiedPieces +
           counts.droppedGroups;
}

TEST(StreetGrid, EverySegmentWithinReachIsOfferedAddedOnesToo) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> place(0, 50), step(-5, 5);
    std::vector<MapLine> lines;
    for (int at = 0; at < 300; ++at) {
        const double x = place(random), y = place(random), scale = at % 10 == 0 ? 8 : 1;
        lines.push_back({x, y, x + scale * step(random), y + scale * step(random)});
    }
    StreetNetwork network(lines, {});
    for (const double reach : {0.0, 0.7, 3.0}) {
        SegmentGrid grid(network, reach);
        for (int at = 0; at < 20; ++at)
            grid.add(network.add(at, at + 40, 0));
        for (int query = 0; query < 200; ++query) {
            const Point a{place(random), place(random)};
            const Point b = query % 2 ? a : Point{a.x + 4 * step(random), a.y + 4 * step(random)};
            std::set<int> offered;
            grid.forEachNear(a, b, reach, [&](int segment) { offered.insert(segment); });
            for (int segment = 0; segment < network.segmentCount(); ++segment) {
                const MapLine line = network.line(segment);
                const Point c{line.x1, line.y1}, d{line.x2, line.y2};
                // Apart by at most `reach`: an end near the other segment, or crossing.
                const double apart = std::min(
                    {NearestOnSegment(a, c, d).distance, NearestOnSegment(b, c, d).distance,
                     NearestOnSegment(c, a, b).distance, NearestOnSegment(d, a, b).distance});
                const bool crossing =
                    geometry::Orientation(a, b, c) * geometry::Orientation(a, b, d) < 0 &&
                    geometry::Orientation(c, d, a) * geometry::Orientation(c, d, b) < 0;
                if (apart <= reach || crossing) {
                    EXPECT_TRUE(offered.count(segment)) << "reach " << reach << ", query " << query;
                }
            }
        }
    }
}

TEST(StreetSplitting, WaysSplitAtSharedVerticesWhileAWayCrossingWithoutOneStaysWhole) {
    const PreparedStreets prepared = Prepare({{1, {{0, 0}, {50, 0}, {100, 0}}},
                                              {2, {{50, -50}, {50, 0}, {50, 50}}},
                                              {3, {{10, -40}, {90, 20}}}},
                                             Defaults());
    EXPECT_EQ(Segments(prepared.segments),
              (std::set<Key>{S(0, 0, 50, 0), S(50, 0, 100, 0), S(50, -50, 50, 0), S(50, 0, 50, 50),
                             S(10, -40, 90, 20)}));
    EXPECT_EQ(prepared.counts.splitWays, 2);
    EXPECT_EQ(prepared.counts.splitVertices, 2);
    // The bridge crosses both without a junction.
    EXPECT_EQ(prepared.counts.crossingsApart, 2);
    EXPECT_EQ(prepared.counts.groups, 2);
    const std::vector<std::int64_t> sources = {1, 1, 2, 2, 3};
    EXPECT_EQ(prepared.sources, sources);
}

TEST(StreetTidying, ZeroLengthPiecesAndExactDuplicatesGoUnlessSkipped) {
    const std::vector<Way> ways = {
        {1, {{0, 0}, {10, 0}}}, {2, {{10, 0}, {0, 0}}}, {3, {{5, 5}, {5, 5}}}};
    const PreparedStreets prepared = Prepare(ways, Defaults());
    EXPECT_EQ(Segments(prepared.segments), (std::set<Key>{S(0, 0, 10, 0)}));
    EXPECT_EQ(prepared.sources, std::vector<std::int64_t>{1});
    EXPECT_EQ(prepared.counts.zeroLength, 1);
    EXPECT_EQ(prepared.counts.duplicates, 1);
    ASSERT_EQ(CountProblems(prepared, ProblemType::Duplicate, true), 1);
    EXPECT_EQ(prepared.problems.front().source, 2);
    EXPECT_DOUBLE_EQ(prepared.problems.front().value, 10);

    StreetSettings keep = Defaults();
    keep.dropDuplicates = false;
    EXPECT_EQ(Prepare(ways, keep).segments.size(), 3u);
}

TEST(StreetTidying, PiecesAlongOneAnotherAreDrawnOnceSplitAtEveryEnd) {
    const std::vector<Way> ways = {{1, {{0, 0}, {10, 0}}},
                                   {2, {{6, 0}, {15, 0}}},
                                   {3, {{2, 0}, {4, 0}}},
                                   {4, {{15, 0}, {20, 0}}},
                                   // Parallel, half a metre off the line: no overlap.
                                   {5, {{0, 0.5}, {10, 0.5}}},
                                   // On a slanting line, exactly: an overlap.
                                   {6, {{0, 100}, {30, 110}}},
                                   {7, {{15, 105}, {45, 115}}}};
    const PreparedStreets prepared = Prepare(ways, Unsimplified());
    EXPECT_EQ(Segments(prepared.segments),
              (std::set<Key>{S(0, 0, 2, 0), S(2, 0, 4, 0), S(4, 0, 6, 0), S(6, 0, 10, 0),
                             S(10, 0, 15, 0), S(15, 0, 20, 0), S(0, 0.5, 10, 0.5),
                             S(0, 100, 15, 105), S(15, 105, 30, 110), S(30, 110, 45, 115)}));
    EXPECT_EQ(prepared.counts.overlapSegments, 5);
    // 2-4 and 6-10 on the first line, 15-30 on the slanting one.
    EXPECT_EQ(prepared.counts.overlapStretches, 3);
    EXPECT_EQ(CountProblems(prepared, ProblemType::Overlap, true), 3);

    // Simplified, each line is one segment again.
    const PreparedStreets simplified = Prepare(ways, Defaults());
    EXPECT_EQ(Segments(simplified.segments),
              (std::set<Key>{S(0, 0, 20, 0), S(0, 0.5, 10, 0.5), S(0, 100, 45, 115)}));

    StreetSettings keep = Unsimplified();
    keep.mergeOverlaps = false;
    keep.snap = false;
    const PreparedStreets kept = Prepare(ways, keep);
    EXPECT_EQ(kept.segments.size(), ways.size());
    EXPECT_EQ(kept.counts.overlapSegments, 0);
}

TEST(StreetSnapping, UnconnectedEndsWithinTheDistanceAreJoinedToEndsAndLines) {
    const std::vector<Way> ways = {// Ends a centimetre apart.
                                   {1, {{0, 0}, {10, 0}}},
                                   {2, {{10.01, 0}, {20, 5}}},
                                   // An end 5 cm short of a line.
                                   {3, {{30, 0}, {40, 0}}},
                                   {4, {{35, 0.05}, {35, 10}}},
                                   // An end exactly on a line, without a shared vertex.
                                   {5, {{50, 0}, {60, 0}}},
                                   {6, {{55, 0}, {55, 10}}},
                                   // An end 20 cm short: beyond the distance, left to check.
                                   {7, {{70, 0}, {80, 0}}},
                                   {8, {{75, 0.2}, {75, 10}}}};
    const PreparedStreets prepared = Prepare(ways, Unsimplified());
    EXPECT_EQ(Segments(prepared.segments),
              (std::set<Key>{S(0, 0, 10.01, 0), S(10.01, 0, 20, 5), S(30, 0, 35, 0),
                             S(35, 0, 40, 0), S(35, 0, 35, 10), S(50, 0, 55, 0), S(55, 0, 60, 0),
                             S(55, 0, 55, 10), S(70, 0, 80, 0), S(75, 0.2, 75, 10)}));
    EXPECT_EQ(prepared.counts.snappedToEnds, 1);
    EXPECT_EQ(prepared.counts.snappedToLines, 1);
    EXPECT_EQ(prepared.counts.joinedOnLines, 1);
    EXPECT_EQ(CountProblems(prepared, ProblemType::UnconnectedEnd, true), 3);
    ASSERT_EQ(CountProblems(prepared, ProblemType::UnconnectedEnd, false), 1);
    const auto left =
        std::find_if(prepared.problems.begin(), prepared.problems.end(), [](const Problem& p) {
            return p.type == ProblemType::UnconnectedEnd && !p.fixed;
        });
    EXPECT_NEAR(left->value, 0.2, 1e-12);
    EXPECT_EQ(left->source, 8);

    StreetSettings wider = Unsimplified();
    wider.snapDistance = 0.25;
    EXPECT_EQ(Prepare(ways, wider).counts.snappedToLines, 2);
    StreetSettings exactOnly = Unsimplified();
    exactOnly.snapDistance = 0;
    const PreparedStreets exact = Prepare(ways, exactOnly);
    EXPECT_EQ(exact.counts.joinedOnLines, 1);
    EXPECT_EQ(exact.counts.snappedToEnds + exact.counts.snappedToLines, 0);
    StreetSettings none = Unsimplified();
    none.snap = false;
    EXPECT_EQ(Prepare(ways, none).segments.size(), ways.size());
}

TEST(StreetSnapping, AnEndIsNeverJoinedToItsOwnSegmentOrFoldedOntoItsNeighbour) {
    // A stub of 5 cm turning back along the street it leaves.
    const PreparedStreets prepared =
        Prepare({{1, {{0, 0}, {10, 0}, {9.95, 0.02}}}}, Unsimplified());
    EXPECT_EQ(prepared.segments.size(), 2u);
    EXPECT_EQ(prepared.counts.snappedToEnds + prepared.counts.snappedToLines, 0);
}

std::vector<Point> Arc(Point centre, double radius, double fromDegrees, double toDegrees,
                       int pieces) {
    std::vector<Point> points;
    for (int at = 0; at <= pieces; ++at) {
        const double angle =
            (fromDegrees + (toDegrees - fromDegrees) * at / pieces) * std::acos(-1.0) / 180;
        points.push_back(
            {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
    return points;
}

TEST(StreetSimplifying, ACurveOfFortyPiecesBecomesOneSegmentWhileSharperTurnsStay) {
    std::vector<Point> curve = Arc({0, 0}, 100, -90, 0, 40);
    // A turn of 30 degrees after the curve, then a straight road in four pieces.
    const Point end = curve.back();
    for (int at = 1; at <= 4; ++at)
        curve.push_back({end.x - 10 * at * std::sin(std::acos(-1.0) / 6),
                         end.y + 10 * at * std::cos(std::acos(-1.0) / 6)});
    const PreparedStreets prepared = Prepare({{1, curve}}, Defaults());
    ASSERT_EQ(prepared.segments.size(), 2u);
    EXPECT_EQ(Segments(prepared.segments).count(S(curve[0].x, curve[0].y, end.x, end.y)), 1u);
    EXPECT_EQ(prepared.counts.simplifiedPieces, 44);
    EXPECT_EQ(prepared.counts.simplifiedSegments, 2);

    StreetSettings finer = Defaults();
    finer.simplifyAngle = 2;
    EXPECT_EQ(Prepare({{1, curve}}, finer).segments.size(), 41u);
}

TEST(StreetSimplifying, RingsAndChainsBetweenJoinedEndsKeepWhatTheyNeed) {
    // A ring alone, drawn in 120 pieces: never a segment from a point to itself.
    std::vector<Point> ring = Arc({0, 0}, 20, 0, 360, 120);
    ring.back() = ring.front();
    const PreparedStreets alone = Prepare({{1, ring}}, Defaults());
    EXPECT_GE(alone.segments.size(), 3u);
    EXPECT_EQ(Segments(alone.segments).size(), alone.segments.size());
    for (const MapLine& line : alone.segments)
        EXPECT_FALSE(line.x1 == line.x2 && line.y1 == line.y2);

    // A straight road and a gentle curve between the same two ends: the curve cannot become
    // a second copy of the road.
    std::vector<Point> bow =
        Arc({50, -200}, std::hypot(50, 200), 180 - 75.96375653207352, 75.96375653207352, 20);
    bow.front() = {0, 0};
    bow.back() = {100, 0};
    const PreparedStreets lens = Prepare({{1, {{0, 0}, {100, 0}}}, {2, bow}}, Defaults());
    EXPECT_EQ(lens.segments.size(), 3u);

    // A chain whose straight replacement would pass 5 cm from an unconnected end stays bent.
    const std::vector<Way> near = {{1, {{0, 0}, {50, 0.5}, {100, 0}}},
                                   {2, {{50, -0.05}, {50, -20}}}};
    const PreparedStreets kept = Prepare(near, Defaults());
    EXPECT_EQ(kept.segments.size(), 3u);
    EXPECT_EQ(Changes(PrepareStreets(kept.segments, kept.sources, Defaults()).counts), 0);
}

TEST(StreetGroups, SeparateGroupsAreReportedAndSmallOnesDroppedWhenAsked) {
    const std::vector<Way> ways = {{1, {{0, 0}, {10, 0}, {10, 10}, {20, 10}}},
                                   {2, {{100, 100}, {110, 100}}}};
    const PreparedStreets kept = Prepare(ways, Defaults());
    EXPECT_EQ(kept.segments.size(), 4u);
    EXPECT_EQ(kept.counts.groups, 2);
    EXPECT_EQ(kept.counts.largestGroup, 3);
    ASSERT_EQ(CountProblems(kept, ProblemType::SmallGroup, false), 1);

    StreetSettings settings = Defaults();
    settings.minGroup = 2;
    const PreparedStreets dropped = Prepare(ways, settings);
    EXPECT_EQ(dropped.segments.size(), 3u);
    EXPECT_EQ(dropped.counts.droppedGroups, 1);
    EXPECT_EQ(CountProblems(dropped, ProblemType::SmallGroup, true), 1);
    settings.minGroup = 4;
    EXPECT_TRUE(Prepare(ways, settings).segments.empty());
}

TEST(StreetChecks, ShortSegmentsAndWaysCrossingThemselvesAreLeftToCheck) {
    const PreparedStreets prepared = Prepare(
        {{1, {{0, 0}, {20, 0}, {20, 20}, {10, -10}}}, {2, {{20, 20}, {20.5, 20}}}}, Defaults());
    EXPECT_EQ(prepared.segments.size(), 4u);
    EXPECT_EQ(CountProblems(prepared, ProblemType::SelfCrossing, false), 1);
    EXPECT_EQ(CountProblems(prepared, ProblemType::VeryShortSegment, false), 1);
    EXPECT_EQ(prepared.counts.crossingsApart, 1);
}

TEST(StreetPreparation, TheSyntheticTownPreparesToItsCleanDrawing) {
    StreetCounts all;
    for (unsigned run = 1; run <= 6; ++run) {
        bench::TownPlan plan;
        plan.run = run;
        if (run == 6)
            plan.blocksAcross = plan.blocksDown = 14;
        const bench::Town town = bench::MakeTown(plan);
        std::vector<MapLine> pieces;
        std::vector<std::int64_t> ids;
        bench::RawPieces(town, pieces, ids);
        const PreparedStreets prepared = PrepareStreets(pieces, ids, Defaults());
        EXPECT_EQ(Segments(prepared.segments), Segments(town.clean)) << "generator run " << run;
        const PreparedStreets clean = PrepareStreets(town.clean, {}, Defaults());
        EXPECT_EQ(Changes(clean.counts), 0) << "generator run " << run;
        all.zeroLength += prepared.counts.zeroLength;
        all.duplicates += prepared.counts.duplicates;
        all.overlapSegments += prepared.counts.overlapSegments;
        all.snappedToEnds += prepared.counts.snappedToEnds;
        all.joinedOnLines += prepared.counts.joinedOnLines;
        all.crossingsApart += prepared.counts.crossingsApart;
    }
    // Every kind of mess the generator makes was met and mended.
    for (const int count : {all.zeroLength, all.duplicates, all.overlapSegments, all.snappedToEnds,
                            all.joinedOnLines, all.crossingsApart})
        EXPECT_GT(count, 0);
}

TEST(StreetPreparation, PreparingAPreparedMapChangesNothing) {
    // Random short lines in a small square: near misses, crossings, overlaps and chains.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> grid(0, 40);
    std::uniform_real_distribution<double> nudge(-0.08, 0.08);
    std::vector<MapLine> pieces;
    for (int at = 0; at < 600; ++at) {
        const double x = grid(random), y = grid(random);
        const int direction = at % 4;
        const double dx = direction == 0 ? 1 : direction == 1 ? 0 : direction == 2 ? 1 : -1;
        const double dy = direction == 1 ? 1 : direction == 2 ? 1 : direction == 3 ? 1 : 0;
        const double length = 1 + grid(random) % 4;
        MapLine line{x, y, x + dx * length, y + dy * length};
        if (at % 3 == 0) {
            line.x2 += nudge(random);
            line.y2 += nudge(random);
        }
        pieces.push_back(line);
    }
    for (const bool simplify : {true, false}) {
        StreetSettings settings = Defaults();
        settings.simplifyAngle = simplify ? 10 : 0;
        const PreparedStreets once = PrepareStreets(pieces, {}, settings);
        const PreparedStreets twice = PrepareStreets(once.segments, once.sources, settings);
        EXPECT_GT(Changes(once.counts), 100);
        EXPECT_EQ(Changes(twice.counts), 0);
        EXPECT_EQ(twice.segments, once.segments);
        EXPECT_EQ(twice.sources, once.sources);
    }
}

} // namespace
} // namespace vantrel::streets

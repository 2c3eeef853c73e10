// Visibility graph analysis: walls, pictures, the grid and its fill, what each point sees, the
// searches and the measures of the edge cases.
#include "core/vga/picture_walls.h"
#include "core/vga/vga_analysis.h"
#include "core/vga/vga_columns.h"
#include "core/vga/visibility_graph.h"
#include "core/vga/visual_depths.h"

#include "support/floor_plans.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace vantrel::vga {
namespace {

std::vector<MapLine> Box(double x0, double y0, double x1, double y1) {
    return {{x0, y0, x1, y0}, {x1, y0, x1, y1}, {x1, y1, x0, y1}, {x0, y1, x0, y0}};
}

VgaResult Analyse(const WallSet& walls, double spacing, std::vector<DoublePoint> fills,
                  std::vector<DoublePoint> origins = {}) {
    VgaOptions options;
    options.spacing = spacing;
    options.fillPoints = std::move(fills);
    options.origins = std::move(origins);
    auto run = RunVga(walls, options);
    return std::get<VgaResult>(std::move(run));
}

std::optional<double> ValueAt(const VgaResult& result, const char* column, DoublePoint at) {
    const auto cell = result.grid.cellAt(at);
    const int point = result.grid.pointAt(cell->first, cell->second);
    for (const auto& each : VgaColumns(result))
        if (each.name == column)
            return each.value(point);
    ADD_FAILURE() << "no column " << column;
    return std::nullopt;
}

TEST(VgaWalls, TouchingAnEndOrOverlappingCountsAsMeetingAndStoppingShortDoesNot) {
    EXPECT_TRUE(SegmentsMeet({0, 0}, {2, 2}, {1, 1}, {3, 0}));    // through a wall's end
    EXPECT_TRUE(SegmentsMeet({0, 0}, {2, 0}, {1, 0}, {5, 0}));    // collinear overlap
    EXPECT_TRUE(SegmentsMeet({1, 1}, {1, 1}, {0, 0}, {2, 2}));    // a point on the wall
    EXPECT_FALSE(SegmentsMeet({0, 0}, {2, 0}, {2.5, 0}, {5, 0})); // collinear, apart
    EXPECT_FALSE(SegmentsMeet({0, 0}, {2, 2}, {1, 1.0000001}, {1, 3}));
    const WallSet cross({{0, 0, 2, 2}, {0, 2, 2, 0}, {1, 1, 1, 3}, {5, 5, 5, 5}});
    EXPECT_EQ(cross.walls().size(), 3u) << "a wall of no length is no wall";
    // The first two are cut where they cross, where the third ends.
    EXPECT_EQ(cross.pieces().size(), 5u);
}

TEST(VgaPictures, DarkPixelsAreSquaresOfWallAndTheEdgeOfThePictureIsAWall) {
    EXPECT_EQ(Luminance(0, 0, 0), 0);
    EXPECT_EQ(Luminance(255, 255, 255), 255);
    EXPECT_EQ(Luminance(0, 0, 0, 0), 255) << "transparent black is white";
    EXPECT_LT(Luminance(200, 0, 0), kDarkBelow);

    DarkPixels pixels(3, 3);
    pixels.setDark(1, 1, true);
    const auto walls = PictureWalls(pixels, 2.0);
    // The frame (4 sides) and the dark pixel's outline (4 sides).
    EXPECT_EQ(walls.size(), 8u);
    // Pixel (1, 1) is centred on (2, 2) and spans 1 .. 3.
    EXPECT_TRUE(InDarkPixel(pixels, 2.0, {2, 2}));
    EXPECT_TRUE(InDarkPixel(pixels, 2.0, {3, 1})) << "its outline is wall";
    EXPECT_FALSE(InDarkPixel(pixels, 2.0, {3.01, 2}));
    EXPECT_TRUE(InDarkPixel(pixels, 2.0, {-1.5, 0})) << "beyond the picture's edge";

    // Two dark pixels touching at a corner: the outlines are cut there, so pieces only meet at
    // their ends.
    DarkPixels diagonal(2, 2);
    diagonal.setDark(0, 0, true);
    diagonal.setDark(1, 1, true);
    const WallSet set(PictureWalls(diagonal, 1.0));
    EXPECT_EQ(set.pieces().size(), set.walls().size());
}

TEST(VgaGrid, PointsSitOnMultiplesOfTheSpacingAndTheFillStopsAtWalls) {
    const WallSet walls(Box(0.25, 0.25, 2.25, 1.25));
    const VgaResult result = Analyse(walls, 0.5, {{1, 1}});
    EXPECT_EQ(result.pointCount(), 8);
    EXPECT_EQ(result.grid.location(0).x, 0.5);
    EXPECT_EQ(result.grid.location(0).y, 0.5);
    EXPECT_EQ(result.grid.location(7).x, 2.0);

    // A wall through the squares of cells (2, 1) and (2, 2), left of their centres: the fill goes
    // round it above, and the cells are filled, but they see nothing beyond it.
    std::vector<MapLine> lines = Box(0, 0, 4, 4);
    lines.push_back({1.6, 0, 1.6, 2.4});
    const VgaResult split = Analyse(WallSet(lines), 1, {{1, 1}});
    EXPECT_EQ(split.pointCount(), 9);
    EXPECT_EQ(ValueAt(split, "connectivity", {1, 1}), 2.0);
    EXPECT_EQ(ValueAt(split, "connectivity", {2, 1}), 5.0);
}

TEST(VgaGrid, FillPointsOutsideInAWallOrInTooSmallASpaceAreRefused) {
    std::vector<MapLine> lines = Box(0, 0, 10, 10);
    const auto closet = Box(6.2, 6.2, 6.8, 6.8);
    lines.insert(lines.end(), closet.begin(), closet.end());
    const WallSet walls(lines);
    const auto refusal = [&](DoublePoint fill) {
        VgaOptions options;
        options.spacing = 1;
        options.fillPoints = {{1, 1}, fill};
        auto run = RunVga(walls, options);
        const auto* refused = std::get_if<VgaRefusal>(&run);
        EXPECT_TRUE(refused);
        EXPECT_EQ(refused ? refused->index : -1, 1);
        return refused ? refused->fault : FillFault{};
    };
    EXPECT_EQ(refusal({11, 5}), FillFault::OutsideExtent);
    EXPECT_EQ(refusal({5, 0}), FillFault::InWall);
    EXPECT_EQ(refusal({6.5, 6.5}), FillFault::NoSpace) << "the closet's cell centre is (7, 7)";

    VgaOptions tiny;
    tiny.spacing = 1e-6;
    tiny.fillPoints = {{1, 1}};
    tiny.maxBytes = 1 << 20;
    EXPECT_THROW(RunVga(walls, tiny), TooLarge);

    // Points too many for the memory, on a grid whose cells alone would fit, are foreseen on a
    // coarse grid and refused before the fine one is filled.
    struct Stages : VgaStages {
        std::vector<std::string> begun;
        Progress* begin(std::string_view stage) override {
            begun.emplace_back(stage);
            return nullptr;
        }
    } stages;
    VgaOptions fine = tiny;
    fine.spacing = 0.002;
    fine.maxBytes = 512 << 20;
    EXPECT_THROW(RunVga(walls, fine, &stages), TooLarge);
    EXPECT_TRUE(stages.begun.empty());
}

TEST(VgaVisibility, EveryPairIsDecidedAsTheExactSegmentTestDecidesIt) {
    // Spacing 0.5 on walls at whole and half metres puts points on the lines through the
    // corners of rooms and columns, where rounding would decide if nothing else did.
    plans::FloorPlan plan;
    plan.roomsPerSide = 3;
    plan.roomWidth = 4;
    plan.roomDepth = 3;
    plan.corridorWidth = 2;
    const WallSet walls(plans::FloorWalls(plan));
    PointGrid grid(walls.extent(), 0.5);
    const DoublePoint fill{1, 1};
    ASSERT_FALSE(FillGrid(grid, walls, std::span(&fill, 1)));
    const Sights sights = LookFromEveryPoint(grid, walls, {.threads = 2});
    int wrong = 0;
    for (int a = 0; a < grid.pointCount(); ++a) {
        std::vector<bool> seen(static_cast<std::size_t>(grid.pointCount()), false);
        for (const PointRun& run : sights.graph.runsOf(a))
            for (int b = run.first; b <= run.last; ++b)
                seen[static_cast<std::size_t>(b)] = true;
        for (int b = 0; b < grid.pointCount(); ++b) {
            const bool exact = a != b && !walls.blocks(grid.location(a), grid.location(b));
            wrong += seen[static_cast<std::size_t>(b)] != exact;
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << grid.pointCount() << " points";
}

TEST(VgaSearches, SixtyFourSourcesAtOnceCountAsOneSearchPerPoint) {
    // Two closed rooms, each filled: two groups that do not reach each other, and several
    // batches of sources.
    std::vector<MapLine> lines = Box(0, 0, 9, 6);
    for (const MapLine& line : Box(10, 0, 14, 3))
        lines.push_back(line);
    lines.push_back({4.5, 0, 4.5, 4});
    lines.push_back({2, 5, 9, 5});
    const WallSet walls(lines);
    PointGrid grid(walls.extent(), 0.25);
    const DoublePoint fills[] = {{1, 1}, {12, 1}};
    ASSERT_FALSE(FillGrid(grid, walls, fills));
    const Sights sights = LookFromEveryPoint(grid, walls);
    const VisualDepths depths = ComputeVisualDepths(sights.graph, {.threads = 2});
    for (int point = 0; point < grid.pointCount(); ++point) {
        const int origin[] = {point};
        const auto steps = VisualStepDepths(sights.graph, origin);
        std::vector<std::int32_t> counts;
        for (const std::int32_t depth : steps) {
            if (depth > 0) {
                counts.resize(
                    std::max<std::size_t>(counts.size(), static_cast<std::size_t>(depth)));
                ++counts[static_cast<std::size_t>(depth - 1)];
            }
        }
        const auto batched = depths.histograms.of(point);
        ASSERT_EQ(std::vector<std::int32_t>(batched.begin(), batched.end()), counts) << point;
    }
}

TEST(VgaSearches, MetricPathsTurnWhereverTheyMustAndAngularPathsCountTheTurns) {
    // An L of two corridors: from the end of one to the end of the other, the shortest path
    // turns once at the inner corner.
    const std::vector<MapLine> lines = {{0, 0, 10, 0}, {10, 0, 10, 10}, {10, 10, 8, 10},
                                        {8, 10, 8, 2}, {8, 2, 0, 2},    {0, 2, 0, 0}};
    const VgaResult result = Analyse(WallSet(lines), 0.5, {{1, 1}}, {{1, 1}});
    const auto metric = ValueAt(result, "metric_step_depth", {9, 9.5});
    const auto angular = ValueAt(result, "angular_step_depth", {9, 9.5});
    ASSERT_TRUE(metric && angular);
    // Around the corner (8, 2): no shorter than the taut string, at most a cell longer.
    const double taut = std::hypot(7, 1) + std::hypot(1, 7.5);
    EXPECT_GE(*metric, taut - 1e-9);
    EXPECT_LT(*metric, taut + 0.5);
    EXPECT_GT(*angular, 0.5);
    EXPECT_LT(*angular, 1.5);
    EXPECT_EQ(ValueAt(result, "visual_step_depth", {9, 9.5}), 2.0);
    EXPECT_EQ(ValueAt(result, "visual_step_depth", {1, 1}), 0.0);
}

TEST(VgaEdgeCases, AOnePointSpaceHasCountsAndNoMeasureThatNeedsAnotherPoint) {
    const VgaResult result = Analyse(WallSet(Box(0.6, 0.6, 1.4, 1.4)), 1, {{1, 1}});
    ASSERT_EQ(result.pointCount(), 1);
    const auto columns = VgaColumns(result);
    for (const auto& column : columns) {
        const auto value = column.value(0);
        if (column.name == "connectivity" || column.name == "through_vision" ||
            column.name.rfind("point_", 0) == 0) {
            EXPECT_EQ(value, 0.0) << column.name;
        } else if (column.name == "visual_node_count") {
            EXPECT_EQ(value, 1.0);
        } else if (column.name.rfind("isovist", 0) == 0 || column.name == "x" ||
                   column.name == "y") {
            ASSERT_TRUE(value) << column.name;
            EXPECT_TRUE(std::isfinite(*value)) << column.name;
        } else {
            EXPECT_FALSE(value) << column.name;
        }
    }
    EXPECT_NEAR(*ValueAt(result, "isovist_area", {1, 1}), 0.64, 1e-12);
}

TEST(VgaEdgeCases, InAConvexRoomEveryPointSeesEveryOtherAndHasNoIntegration) {
    const VgaResult result = Analyse(WallSet(Box(0, 0, 5, 3)), 1, {{1, 1}});
    ASSERT_EQ(result.pointCount(), 8);
    for (const auto& column : VgaColumns(result)) {
        for (int point = 0; point < result.pointCount(); ++point) {
            const auto value = column.value(point);
            if (column.name == "connectivity") {
                EXPECT_EQ(value, 7.0);
            } else if (column.name == "visual_mean_depth" ||
                       column.name == "visual_clustering_coefficient") {
                EXPECT_EQ(value, 1.0) << column.name;
            } else if (column.name == "visual_controllability") {
                EXPECT_NEAR(*value, 7.0 / 8.0, 1e-15) << "the point itself is in the union";
            } else if (column.name.rfind("visual_integration", 0) == 0) {
                EXPECT_FALSE(value) << column.name;
            } else if (column.name == "isovist_area") {
                EXPECT_NEAR(*value, 15.0, 1e-12);
            }
        }
    }
}

} // namespace
} // namespace vantrel::vga

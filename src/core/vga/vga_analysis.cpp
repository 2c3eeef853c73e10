#include "core/vga/vga_analysis.h"

#include "core/vga/through_vision.h"
#include "core/vga/visibility_graph.h"
#include "core/vga/visual_depths.h"

#include <bit>
#include <cmath>
#include <optional>
#include <string>

namespace vantrel::vga {

namespace {

// Per cell: its point number, the nearest points along its row either way and the fill flag.
constexpr double kBytesPerCell = 3 * sizeof(std::int32_t) + 1;
// Per point: its place, its measures (at most a few dozen values of 16 bytes), its depth counts.
constexpr double kBytesPerPoint = 1024;

Progress* Begin(VgaStages* stages, std::string_view stage) {
    return stages ? stages->begin(stage) : nullptr;
}

std::string Megabytes(double bytes) {
    return std::to_string(static_cast<long long>(std::ceil(bytes / (1 << 20)))) + " MB";
}

// About how many points the grid of this spacing will have: counted on a grid coarse enough to
// fill at once, each coarse point standing for the fine cells in its square. Nothing when the
// grid is small enough to fill at once anyway, or when the coarse grid cannot be filled.
std::optional<double> CoarsePointCount(const WallSet& walls, const VgaOptions& options) {
    constexpr double kCoarseCells = 1 << 20;
    const double cells = PointGrid::CellCount(walls.extent(), options.spacing);
    if (!(cells > 4 * kCoarseCells))
        return std::nullopt;
    const double scale = std::ceil(std::sqrt(cells / kCoarseCells));
    PointGrid coarse(walls.extent(), options.spacing * scale);
    if (FillGrid(coarse, walls, options.fillPoints, options.inWall))
        return std::nullopt;
    return coarse.pointCount() * scale * scale;
}

} // namespace

double GridBytes(const WallSet& walls, double spacing) {
    return PointGrid::CellCount(walls.extent(), spacing) * kBytesPerCell;
}

std::variant<VgaResult, VgaRefusal> RunVga(const WallSet& walls, const VgaOptions& options,
                                           VgaStages* stages) {
    const double gridBytes = GridBytes(walls, options.spacing);
    if (!(gridBytes <= static_cast<double>(options.maxBytes)))
        throw TooLarge("a grid of spacing " + std::to_string(options.spacing) + " needs " +
                       Megabytes(gridBytes) + ", more than the " +
                       Megabytes(static_cast<double>(options.maxBytes)) + " allowed");
    // A spacing far too fine for the memory is refused before the fine grid is filled, which
    // could take minutes; half the points the coarse grid foresees leaves room for its error.
    if (const auto points = CoarsePointCount(walls, options);
        points && *points / 2 * kBytesPerPoint > static_cast<double>(options.maxBytes))
        throw TooLarge("a grid of spacing " + std::to_string(options.spacing) + " has about " +
                       std::to_string(std::llround(*points)) + " points, which need about " +
                       Megabytes(*points * kBytesPerPoint) + ", more than the " +
                       Megabytes(static_cast<double>(options.maxBytes)) + " allowed");
    Begin(stages, "Filling the grid");
    VgaResult result;
    result.grid = PointGrid(walls.extent(), options.spacing);
    if (const auto refusal = FillGrid(result.grid, walls, options.fillPoints, options.inWall))
        return VgaRefusal{VgaRefusal::Subject::FillPoint, refusal->fillIndex, refusal->fault};
    const PointGrid& grid = result.grid;
    std::vector<int> origins;
    for (std::size_t index = 0; index < options.origins.size(); ++index) {
        const auto cell = grid.cellAt(options.origins[index]);
        const int point = cell ? grid.pointAt(cell->first, cell->second) : -1;
        if (point < 0)
            return VgaRefusal{VgaRefusal::Subject::Origin, static_cast<int>(index),
                              FillFault::InWall, true};
        origins.push_back(point);
    }

    // The graph, twice while it is put together, the measures of every point, and each thread's
    // search tables (a few words a point for every power of two up to the points) and
    // through-vision counts (a word a cell).
    const double points = grid.pointCount();
    const double searchWords = 4 + std::bit_width(static_cast<unsigned>(points));
    const double needed =
        gridBytes + 2 * EstimateGraphBytes(grid, walls) + points * kBytesPerPoint +
        options.threads * sizeof(std::uint64_t) *
            (points * searchWords + static_cast<double>(grid.columns()) * grid.rows());
    if (needed > static_cast<double>(options.maxBytes))
        throw TooLarge("the analysis of " + std::to_string(grid.pointCount()) +
                       " points needs about " + Megabytes(needed) + ", more than the " +
                       Megabytes(static_cast<double>(options.maxBytes)) + " allowed");
    Sights sights =
        LookFromEveryPoint(grid, walls,
                           {.threads = options.threads,
                            .progress = Begin(stages, "Isovists and visibility"),
                            .maxBytes = options.maxBytes > gridBytes
                                            ? options.maxBytes - static_cast<std::size_t>(gridBytes)
                                            : 0});
    const VisibilityGraph& graph = sights.graph;
    result.graphBytes = graph.bytes();
    result.isovists = std::move(sights.isovists);
    for (int point = 0; point < graph.pointCount(); ++point)
        result.connectivity.push_back(graph.connectivity(point));

    const VisualDepths depths = ComputeVisualDepths(
        graph, {.threads = options.threads, .progress = Begin(stages, "Visual depths")});
    result.visual = VisualRadiusMeasures(depths.histograms, depths.largestDepth, options.radii);
    result.local = ComputeLocalMeasures(grid, graph, depths.histograms, options.threads,
                                        Begin(stages, "Clustering and control"));
    result.throughVision =
        ComputeThroughVision(grid, graph, options.threads, Begin(stages, "Through vision"));
    if (options.metric || options.angular)
        result.paths = ComputePathMeans(grid, graph,
                                        {.metric = options.metric,
                                         .angular = options.angular,
                                         .threads = options.threads,
                                         .progress = Begin(stages, "Metric and angular paths")});
    if (!origins.empty()) {
        Begin(stages, "Step depths");
        result.visualStepDepth = VisualStepDepths(graph, origins);
        result.stepPaths = ComputeStepPaths(grid, graph, origins);
    }
    return result;
}

} // namespace vantrel::vga

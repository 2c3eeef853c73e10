// Visibility graph analysis from walls to every measure of every point: what the batch tool and
// the desktop both run.
#pragma once

#include "core/analysis/item_measures.h"
#include "core/host/progress.h"
#include "core/vga/isovist.h"
#include "core/vga/local_measures.h"
#include "core/vga/path_searches.h"
#include "core/vga/point_grid.h"
#include "core/vga/visual_measures.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace vantrel::vga {

struct VgaOptions {
    double spacing = 1;
    std::vector<DoublePoint> fillPoints;
    // Step radii besides radius n, which is always computed.
    std::vector<analysis::MeasureRadius> radii;
    // Points to measure step depths from; none for no step depths.
    std::vector<DoublePoint> origins;
    // The mean metric and angular paths from every point, which take a search each.
    bool metric = false;
    bool angular = false;
    int threads = 1;
    // The grid and the visibility graph may take at most this many bytes.
    std::size_t maxBytes = SIZE_MAX;
    // Tells of points inside solid walls, as the dark pixels of a plan picture.
    std::function<bool(DoublePoint)> inWall;
};

// Hears which stage the analysis is in; the progress it returns (or none) hears the steps.
class VgaStages {
public:
    virtual ~VgaStages() = default;
    virtual Progress* begin(std::string_view stage) = 0;
};

struct VgaResult {
    PointGrid grid;
    std::vector<std::int32_t> connectivity;
    LocalMeasures local;
    // Radius n first, then each other radius asked for.
    std::vector<VisualColumns> visual;
    std::vector<IsovistMeasures> isovists;
    std::vector<std::int64_t> throughVision;
    // With VgaOptions::metric or angular; the other's columns are empty.
    std::optional<PathMeans> paths;
    // With origins: visual depth (-1 where no origin reaches) and metric and angular paths.
    std::vector<std::int32_t> visualStepDepth;
    std::optional<StepPaths> stepPaths;
    std::size_t graphBytes = 0;

    int pointCount() const { return grid.pointCount(); }
};

// A place of the options that cannot be analysed: which fill point or origin, and why.
struct VgaRefusal {
    enum class Subject { FillPoint, Origin };
    Subject subject = Subject::FillPoint;
    int index = 0;
    FillFault fault = FillFault::InWall;
    // For an origin: it lies in no filled cell.
    bool notFilled = false;
};

// About how many bytes the grid of the options needs before any point is filled.
double GridBytes(const WallSet& walls, double spacing);

// Throws TooLarge when the grid or the visibility graph would pass options.maxBytes.
std::variant<VgaResult, VgaRefusal> RunVga(const WallSet& walls, const VgaOptions& options,
                                           VgaStages* stages = nullptr);

} // namespace vantrel::vga

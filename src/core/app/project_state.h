// The one in-memory project of a run: lines, junctions, analysis results and progress flags.
#pragma once

#include "core/app/matrix.h"

#include <cstdint>
#include <vector>

namespace vantrel {

inline constexpr int kMaxLines = 500;
// The junction table holds 500 rows, but the 500th crossing found is refused, so 499 is the most.
inline constexpr int kMaxJunctions = 500;

// Map coordinates as the pointer delivered them (twips of the map window).
struct AxialLine {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const AxialLine&) const = default;
};

// A line of a map of any size, as the batch tool keeps them: in 64-bit doubles, so that national
// grid and UTM coordinates keep their centimetres.
struct MapLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const MapLine&) const = default;
};

inline MapLine Widened(const AxialLine& line) {
    return {line.x1, line.y1, line.x2, line.y2};
}

inline std::vector<MapLine> Widened(const std::vector<AxialLine>& lines) {
    std::vector<MapLine> wide;
    wide.reserve(lines.size());
    for (const AxialLine& line : lines)
        wide.push_back(Widened(line));
    return wide;
}

// A junction of a map of any size, as the batch tool finds them: the same as a Junction, but with
// whole line numbers, which floats hold exactly only up to 2^24, and a point in doubles.
struct MapJunction {
    std::int32_t firstLine = 0, secondLine = 0;
    double x = 0, y = 0;
    bool operator==(const MapJunction&) const = default;
};

// Line numbers are 1-based and kept as floats, as the junction table has always stored them.
struct Junction {
    float firstLine = 0, secondLine = 0, x = 0, y = 0;
    bool operator==(const Junction&) const = default;
};

// One arc of an integration graph: two item numbers (1-based), the closeness and the depth.
struct GraphArc {
    float first = 0, second = 0, closeness = 0, depth = 0;
    bool operator==(const GraphArc&) const = default;
};

enum class DrawMode { Copy, Invert };

struct ProjectState {
    std::vector<AxialLine> AxialLines;
    std::vector<Junction> Junctions;

    int LineCount() const { return static_cast<int>(AxialLines.size()); }
    int JunctionCount() const { return static_cast<int>(Junctions.size()); }

    // Incidence of lines (rows) and junctions (columns), 0 or 1.
    Matrix<std::int16_t> LineJunctionMatrix;

    // Results of the primal analysis, LineCount square.
    Matrix<std::int16_t> LineAdjacency;
    Matrix<std::int16_t> LineDepth;
    Matrix<std::int16_t> LineRadius3Depth;
    std::vector<float> LineIntegration;

    // Results of the dual analysis, JunctionCount square.
    Matrix<std::int16_t> JunctionAdjacency;
    Matrix<std::int16_t> JunctionDepth;
    Matrix<std::int16_t> JunctionRadius3Depth;
    std::vector<float> JunctionIntegration;

    // The normalised values of whichever analysis ran last.
    std::vector<float> ScratchIntegration;

    // Arc lists of the integration graphs.
    std::vector<GraphArc> LineArcList;
    std::vector<GraphArc> JunctionArcList;
    int LineArcCount() const { return static_cast<int>(LineArcList.size()); }
    int JunctionArcCount() const { return static_cast<int>(JunctionArcList.size()); }

    bool DrawingEnabled = false;
    bool RubberBandActive = false;
    DrawMode SavedDrawMode = DrawMode::Copy;
    float DragX1 = 0, DragY1 = 0, DragX2 = 0, DragY2 = 0;
    float MapWidth = 0, MapHeight = 0;
    float ZoomFactorX = 1.0f, ZoomFactorY = 1.0f;
    float InsetScaleX = 0, InsetScaleY = 0;
    bool IntersectionsComputed = false;
    int RadiusN = 0;
    int GraphSpan = 0;
};

// Outcome of offering a finished line to the project.
enum class AddLineResult { Stored, StoredWithWarning, Refused };

// Stores a line as the next row; warns at the 101st line and refuses beyond kMaxLines.
AddLineResult AddAxialLine(ProjectState& state, const AxialLine& line);

// Empties every table, matrix and value list and clears the counters and flags of the project.
// The measured layout values (map size, zoom, inset scales) are the caller's to set again.
void ClearProjectTables(ProjectState& state);

} // namespace vantrel

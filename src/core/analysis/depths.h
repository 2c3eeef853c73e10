// Depths between all lines (primal) or all junctions (dual) of a map, by breadth-first search.
#pragma once

#include "core/analysis/depth_histograms.h"
#include "core/analysis/map_graph.h"
#include "core/analysis/unit_sharing.h"
#include "core/app/matrix.h"
#include "core/host/progress.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace vantrel::analysis {

// The words of source bits a batch is searched with: the widest the processor has (256 sources a
// batch with AVX2), or the 128 that every processor the program builds for has. The results are
// the same; tests compare the two.
enum class SourceWords { Widest, Portable };

struct DepthOptions {
    // Also fill the square depth matrices; for the desktop's few hundred items.
    bool fullMatrix = false;
    // Sources are shared among this many threads; the results do not depend on it.
    int threads = 1;
    // Told one step per batch of source items searched together, always from the calling thread.
    Progress* progress = nullptr;
    SourceWords words = SourceWords::Widest;
    // Shares the batches with the other processes of a run; every process gets the whole result.
    // Not with fullMatrix.
    UnitSharing* sharing = nullptr;
};

// The depth of an item from another is the fewest steps between them, one step joining two
// directly related items; items that are not connected have no depth and count for nothing.
struct DepthResult {
    // Per item: the sum of its depths to every item it reaches.
    std::vector<std::int64_t> totalDepth;
    // Per item: the number of other items it reaches.
    std::vector<std::int32_t> reached;
    DepthHistograms histograms;
    // With fullMatrix: the depth of column from row, 0 on the diagonal and for pairs that are not
    // connected.
    Matrix<std::int16_t> depth;
    // With fullMatrix: depth where it is at most 3, else 0.
    Matrix<std::int16_t> radius3Depth;
    // The largest depth of any pair; 0 when no two items are connected or there are none.
    int largestDepth = 0;
};

// The full matrices hold 16-bit depths, so they are refused for more items than that allows.
inline constexpr int kMaxFullMatrixItems = 32768;

// Primal: lines related when they share a junction. Throws std::invalid_argument when a full
// matrix is asked for more than kMaxFullMatrixItems items.
DepthResult ComputeLineDepths(const MapGraph& graph, const DepthOptions& options = {});

// Dual: junctions related when they lie on a common line. Same refusal as ComputeLineDepths.
DepthResult ComputeJunctionDepths(const MapGraph& graph, const DepthOptions& options = {});

// About how long ComputeJunctionDepths will take on `threads` threads, from timing two batches of
// its sources, one at the start and one in the middle: a few hundredths of the whole at most.
std::chrono::duration<double> EstimateJunctionDepthsTime(const MapGraph& graph, int threads);

} // namespace vantrel::analysis

// Choice: how much of the shortest routes between other items passes through each item.
#pragma once

#include "core/analysis/map_graph.h"
#include "core/analysis/unit_sharing.h"
#include "core/host/progress.h"

#include <chrono>
#include <climits>
#include <span>
#include <vector>

namespace vantrel::analysis {

// A radius with no limit (radius n).
inline constexpr int kUnlimitedSteps = INT_MAX;

struct ChoiceOptions {
    // Sources are shared among this many threads; the results do not depend on it.
    int threads = 1;
    // Told one step per batch of sources, always from the calling thread.
    Progress* progress = nullptr;
    // Shares the batches with the other processes of a run; every process gets the whole result.
    UnitSharing* sharing = nullptr;
};

// One column per radius of `radiusSteps` (in steps, or kUnlimitedSteps), one value per item:
// over every unordered pair of other items within that many steps of each other, the share of
// their shortest paths that pass through the item, every shortest path counted with an equal
// share, summed. The searches of all radii share one pass per batch of 64 sources; each batch's
// shares are summed in fixed point, so the result is the same whatever the thread count.
//
// Primal: lines related when they share a junction.
std::vector<std::vector<double>> ComputeLineChoice(const MapGraph& graph,
                                                   std::span<const int> radiusSteps,
                                                   const ChoiceOptions& options = {});

// Dual: junctions related when they lie on a common line. The routes are searched over the
// lines, so no junction-by-junction graph is built.
std::vector<std::vector<double>> ComputeJunctionChoice(const MapGraph& graph,
                                                       std::span<const int> radiusSteps,
                                                       const ChoiceOptions& options = {});

// About how long ComputeJunctionChoice at radius n will take on `threads` threads, from timing
// two batches of its sources, one at the start and one in the middle.
std::chrono::duration<double> EstimateJunctionChoiceTime(const MapGraph& graph, int threads);

} // namespace vantrel::analysis

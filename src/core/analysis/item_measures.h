// The measures of every line (or junction) of one analysis, as the batch tool lists them.
#pragma once

#include "core/analysis/depths.h"
#include "core/app/project_state.h"
#include "core/host/progress.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vantrel::analysis {

// A radius for the radius values: a number of steps, or radius n, the largest depth of the
// analysis (the radius the desktop's radius-n map shows after an analysis).
struct MeasureRadius {
    static constexpr int kN = 0;
    int steps = kN;
    bool operator==(const MeasureRadius&) const = default;
};

struct RadiusColumn {
    MeasureRadius radius;
    // The radius in steps the values were computed for.
    int steps = 0;
    std::vector<float> values;
};

// A measure that does not exist for an item (too few items within reach) has no value.
using Measure = std::optional<double>;

// The field's standard measures of every item within one radius: the items at a depth of at
// most the radius, the item itself counted in the node count only.
struct SyntaxColumns {
    MeasureRadius radius;
    int steps = 0;
    std::vector<std::int32_t> nodeCount;
    std::vector<std::int64_t> totalDepth;
    std::vector<Measure> meanDepth;
    std::vector<Measure> ra;
    std::vector<Measure> rra;
    std::vector<Measure> integrationHH;
    std::vector<Measure> integrationTekl;
    std::vector<Measure> entropy;
    std::vector<Measure> harmonicMeanDepth;
    // Empty unless choice was asked for.
    std::vector<double> choice;
    std::vector<Measure> choiceNorm;
};

struct ItemMeasures {
    // Per item: the number of items directly related to it.
    std::vector<std::int32_t> connectivity;
    std::vector<std::int64_t> totalDepth;
    std::vector<std::int32_t> reached;
    // The normalised integration, as the integration export writes it.
    std::vector<float> integration;
    // One column per radius asked for, in the order asked.
    std::vector<RadiusColumn> radii;

    // Per item: the sum over its neighbours of 1 / their connectivity.
    std::vector<double> control;
    // Per item: connectivity / the other items within two steps.
    std::vector<Measure> controllability;
    // Lines only: each line's length in map units.
    std::vector<double> lineLength;
    // Radius n first, then every other radius asked for, in the order asked.
    std::vector<SyntaxColumns> syntax;

    int itemCount() const { return static_cast<int>(totalDepth.size()); }
};

// Integration by NormalisedIntegration and radius values by RadiusValues, the functions the
// desktop's results come from.
ItemMeasures MeasureItems(const DepthResult& depths, std::span<const MeasureRadius> radii);

struct MeasureOptions {
    std::span<const MeasureRadius> radii;
    // Choice needs a search of its own per item, so it is computed only when asked for.
    bool choice = false;
    int threads = 1;
    Progress* choiceProgress = nullptr;
    // Shares choice's batches with the other processes of a run.
    UnitSharing* sharing = nullptr;
};

// Everything of MeasureItems, and the standard measures of the lines (primal depths).
ItemMeasures MeasureLines(const MapGraph& graph, const DepthResult& depths,
                          std::span<const MapLine> lines, const MeasureOptions& options);

// Everything of MeasureItems, and the standard measures of the junctions (dual depths).
ItemMeasures MeasureJunctions(const MapGraph& graph, const DepthResult& depths,
                              const MeasureOptions& options);

} // namespace vantrel::analysis

#include "core/analysis/item_measures.h"

#include "core/analysis/choice.h"
#include "core/analysis/integration.h"
#include "core/analysis/radius_values.h"

#include <algorithm>
#include <cmath>

namespace vantrel::analysis {
namespace {

// The diamond value of k items: the relative asymmetry of the root of a diamond-shaped graph of
// k items, the yardstick that makes RA comparable between graphs of different sizes.
double DiamondValue(double k) {
    return 2.0 * (k * (std::log2((k + 2.0) / 3.0) - 1.0) + 1.0) / ((k - 1.0) * (k - 2.0));
}

void AddRadiusMeasures(SyntaxColumns& columns, std::span<const std::int32_t> atDepth) {
    const int deepest = std::min(columns.steps, static_cast<int>(atDepth.size()));
    std::int64_t others = 0;
    std::int64_t total = 0;
    double inverseDepths = 0.0;
    for (int depth = 1; depth <= deepest; ++depth) {
        others += atDepth[depth - 1];
        total += static_cast<std::int64_t>(depth) * atDepth[depth - 1];
        inverseDepths += static_cast<double>(atDepth[depth - 1]) / depth;
    }
    const double k = static_cast<double>(others) + 1.0;
    columns.nodeCount.push_back(static_cast<std::int32_t>(others + 1));
    columns.totalDepth.push_back(total);

    Measure meanDepth, ra, rra, integrationHH, integrationTekl, entropy, harmonic;
    if (others > 0) {
        meanDepth = static_cast<double>(total) / static_cast<double>(others);
        harmonic = static_cast<double>(others) / inverseDepths;
        double sum = 0.0;
        for (int depth = 1; depth <= deepest; ++depth) {
            if (atDepth[depth - 1] > 0) {
                const double share = static_cast<double>(atDepth[depth - 1]) / others;
                sum -= share * std::log2(share);
            }
        }
        entropy = sum + 0.0; // no negative zero for a single depth
    }
    if (k > 2.0 && *meanDepth > 1.0) {
        ra = 2.0 * (*meanDepth - 1.0) / (k - 2.0);
        rra = *ra / DiamondValue(k);
        integrationHH = 1.0 / *rra;
    }
    const double excess = static_cast<double>(total) - k + 1.0;
    if (k > 2.0 && excess > 1.0)
        integrationTekl = std::log((k - 2.0) / 2.0) / std::log(excess);
    columns.meanDepth.push_back(meanDepth);
    columns.ra.push_back(ra);
    columns.rra.push_back(rra);
    columns.integrationHH.push_back(integrationHH);
    columns.integrationTekl.push_back(integrationTekl);
    columns.entropy.push_back(entropy);
    columns.harmonicMeanDepth.push_back(harmonic);
}

// Radius n first, then the other radii asked for.
std::vector<SyntaxColumns> RadiusMeasures(const DepthResult& depths,
                                          std::span<const MeasureRadius> radii) {
    std::vector<SyntaxColumns> all(1);
    all.front().steps = depths.largestDepth;
    for (const MeasureRadius radius : radii) {
        if (radius.steps != MeasureRadius::kN) {
            all.emplace_back().radius = radius;
            all.back().steps = radius.steps;
        }
    }
    for (SyntaxColumns& columns : all) {
        for (int index = 0; index < depths.histograms.itemCount(); ++index)
            AddRadiusMeasures(columns, depths.histograms.of(index));
    }
    return all;
}

// `neighbours(index, visit)` calls visit for each neighbour of an item, each once.
template <class Neighbours>
void AddControl(ItemMeasures& measures, const DepthResult& depths, Neighbours neighbours) {
    for (int index = 0; index < measures.itemCount(); ++index) {
        double control = 0.0;
        neighbours(index,
                   [&](int neighbour) { control += 1.0 / measures.connectivity[neighbour]; });
        measures.control.push_back(control);
        const auto atDepth = depths.histograms.of(index);
        const std::int64_t withinTwo = std::int64_t{atDepth.size() > 0 ? atDepth[0] : 0} +
                                       (atDepth.size() > 1 ? atDepth[1] : 0);
        measures.controllability.push_back(
            withinTwo > 0 ? Measure(static_cast<double>(measures.connectivity[index]) / withinTwo)
                          : std::nullopt);
    }
}

void AddChoice(std::vector<SyntaxColumns>& all, const std::vector<std::vector<double>>& choice) {
    for (std::size_t column = 0; column < all.size(); ++column) {
        SyntaxColumns& columns = all[column];
        columns.choice = choice[column];
        for (std::size_t index = 0; index < columns.choice.size(); ++index) {
            const double k = columns.nodeCount[index];
            columns.choiceNorm.push_back(
                k < 3.0 ? std::nullopt
                        : Measure(columns.choice[index] / ((k - 1.0) * (k - 2.0) / 2.0)));
        }
    }
}

std::vector<int> ChoiceSteps(const std::vector<SyntaxColumns>& all) {
    std::vector<int> steps;
    for (const SyntaxColumns& columns : all)
        steps.push_back(columns.radius.steps == MeasureRadius::kN ? kUnlimitedSteps
                                                                  : columns.steps);
    return steps;
}

} // namespace

ItemMeasures MeasureItems(const DepthResult& depths, std::span<const MeasureRadius> radii) {
    ItemMeasures measures;
    const int count = depths.histograms.itemCount();
    measures.connectivity.reserve(count);
    for (int index = 0; index < count; ++index) {
        const auto atDepth = depths.histograms.of(index);
        measures.connectivity.push_back(atDepth.empty() ? 0 : atDepth.front());
    }
    measures.totalDepth = depths.totalDepth;
    measures.reached = depths.reached;
    measures.integration = NormalisedIntegration(depths.totalDepth).values;
    for (const MeasureRadius radius : radii) {
        const int steps = radius.steps == MeasureRadius::kN ? depths.largestDepth : radius.steps;
        measures.radii.push_back({radius, steps, RadiusValues(depths.histograms, steps)});
    }
    return measures;
}

ItemMeasures MeasureLines(const MapGraph& graph, const DepthResult& depths,
                          std::span<const MapLine> lines, const MeasureOptions& options) {
    ItemMeasures measures = MeasureItems(depths, options.radii);
    AddControl(measures, depths, [&](int line, auto visit) {
        for (int neighbour : graph.neighbours(line))
            visit(neighbour);
    });
    for (const MapLine& line : lines)
        measures.lineLength.push_back(std::hypot(line.x2 - line.x1, line.y2 - line.y1));
    measures.syntax = RadiusMeasures(depths, options.radii);
    if (options.choice) {
        AddChoice(measures.syntax, ComputeLineChoice(graph, ChoiceSteps(measures.syntax),
                                                     {.threads = options.threads,
                                                      .progress = options.choiceProgress,
                                                      .sharing = options.sharing}));
    }
    return measures;
}

ItemMeasures MeasureJunctions(const MapGraph& graph, const DepthResult& depths,
                              const MeasureOptions& options) {
    ItemMeasures measures = MeasureItems(depths, options.radii);
    // A junction's neighbours are the other junctions on its lines, each counted once.
    std::vector<int> seenFrom(graph.junctionCount(), -1);
    AddControl(measures, depths, [&](int junction, auto visit) {
        seenFrom[junction] = junction;
        for (int line : graph.linesOf(junction)) {
            for (int other : graph.junctionsOn(line)) {
                if (seenFrom[other] != junction) {
                    seenFrom[other] = junction;
                    visit(other);
                }
            }
        }
    });
    measures.syntax = RadiusMeasures(depths, options.radii);
    if (options.choice) {
        AddChoice(measures.syntax, ComputeJunctionChoice(graph, ChoiceSteps(measures.syntax),
                                                         {.threads = options.threads,
                                                          .progress = options.choiceProgress,
                                                          .sharing = options.sharing}));
    }
    return measures;
}

} // namespace vantrel::analysis

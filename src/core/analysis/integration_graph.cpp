#include "core/analysis/integration_graph.h"

#include "core/analysis/depth_entry.h"

#include <algorithm>
#include <iterator>

namespace vantrel::analysis {

namespace {

// Highest - closeness over Highest - Lowest, with the starting values that bound the search.
void normaliseCloseness(std::vector<GraphArc>& arcs) {
    float highest = -1000;
    float lowest = 1000;
    for (const GraphArc& arc : arcs) {
        if (arc.closeness == 0)
            continue;
        highest = std::max(highest, arc.closeness);
        lowest = std::min(lowest, arc.closeness);
    }
    for (GraphArc& arc : arcs) {
        if (arc.closeness <= 0)
            continue;
        arc.closeness = highest == lowest ? 1.0f : (highest - arc.closeness) / (highest - lowest);
    }
}

} // namespace

std::vector<GraphArc> buildArcList(const Matrix<std::int16_t>& depth, int itemCount) {
    // One pass counts the pairs of each depth, a second writes each pair into its depth's slot;
    // pairs are visited by i then j, so each depth's rows come out in that order.
    std::vector<std::size_t> pairsAtDepth(static_cast<std::size_t>(std::max(itemCount, 0)) + 1);
    const auto listedDepth = [&](int i, int j) {
        const int d = depthEntry(depth, i, j);
        return d >= 1 && d <= itemCount ? d : 0;
    };
    for (int i = 0; i < itemCount; ++i)
        for (int j = i + 1; j < itemCount; ++j)
            ++pairsAtDepth[static_cast<std::size_t>(listedDepth(i, j))];

    // The deepest arcs come first.
    std::vector<std::size_t> nextRow(pairsAtDepth.size());
    std::size_t rows = 0;
    for (int d = itemCount; d >= 1; --d) {
        nextRow[static_cast<std::size_t>(d)] = rows;
        rows += pairsAtDepth[static_cast<std::size_t>(d)];
    }

    std::vector<GraphArc> arcs(rows);
    for (int i = 0; i < itemCount; ++i) {
        for (int j = i + 1; j < itemCount; ++j) {
            const int d = listedDepth(i, j);
            if (d == 0)
                continue;
            const auto depthValue = static_cast<float>(d);
            arcs[nextRow[static_cast<std::size_t>(d)]++] = GraphArc{
                static_cast<float>(i + 1), static_cast<float>(j + 1), depthValue, depthValue};
        }
    }
    normaliseCloseness(arcs);
    return arcs;
}

std::vector<GraphArc> drawnArcs(const std::vector<GraphArc>& arcs) {
    std::vector<GraphArc> drawn;
    std::copy_if(arcs.begin(), arcs.end(), std::back_inserter(drawn),
                 [](const GraphArc& arc) { return arc.closeness <= 1; });
    return drawn;
}

std::vector<GraphArc> arcsWithinSpan(const std::vector<GraphArc>& arcs, int span) {
    std::vector<GraphArc> drawn;
    std::copy_if(arcs.begin(), arcs.end(), std::back_inserter(drawn),
                 [span](const GraphArc& arc) { return arc.closeness <= 1 && arc.depth <= span; });
    return drawn;
}

display::Rgb arcColour(const GraphArc& arc) {
    return display::ColourOf(arc.closeness);
}

NodePoint lineMidPoint(const AxialLine& line) {
    return {(line.x1 + line.x2) / 2, (line.y1 + line.y2) / 2};
}

} // namespace vantrel::analysis

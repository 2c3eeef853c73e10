// The summary statistics of the drawn axial map and of the two graphs, with the four paragraphs
// of the text window that present them.
#pragma once

#include "core/app/project_state.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::analysis {

// What a text shows where a statistic has no value (a divisor of 0).
inline constexpr std::string_view kNoValueText = "n/a";

struct StatisticsTexts {
    // Nothing: the window keeps the caption it had.
    std::optional<std::string> caption;
    // Text1 .. Text4 of the text window.
    std::array<std::string, 4> texts;
    // Text2 .. Text4 are hidden and only Text1 is shown.
    bool onlyFirstTextShown = false;
};

// Statistics without a value (no line, no junction, equal line lengths) are empty.
struct AxialMapStatisticsResult {
    bool refused = false; // the intersections have not been computed
    int lineCount = 0;
    int junctionCount = 0;
    std::optional<float> linesPerJunction;
    std::optional<float> junctionsPerLine;
    float upperRatio = 0;
    float totalLength = 0;
    std::optional<float> meanLength;
    std::optional<float> lengthDeviation; // divided by the line count
    std::optional<float> meanOverDeviation;
    std::optional<float> skew;
    std::string skewWord;
    StatisticsTexts texts;
};

struct GraphStatisticsResult {
    int arcs = 0; // pairs at depth 1
    int nodeCount = 0;
    std::optional<float> arcsPerNode;
    std::optional<float> treeRatio;
    float complete = 0; // pairs of nodes
    std::optional<float> treeToComplete;
    std::optional<float> actualToComplete;
    std::optional<float> averageDepth;
    std::optional<float> averageDistance;
    StatisticsTexts texts;
};

// Lines, junctions and line lengths of the drawn map; refuses until the intersections are
// computed.
AxialMapStatisticsResult AxialMapStatistics(const ProjectState& state);

// The axial graph of the lines (LineDepth), nodes at the lines' mid-points.
GraphStatisticsResult AxialGraphStatistics(const ProjectState& state);

// The junction graph (JunctionDepth), nodes at the junction points.
GraphStatisticsResult JunctionGraphStatistics(const ProjectState& state);

} // namespace vantrel::analysis

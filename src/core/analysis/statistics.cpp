#include "core/analysis/statistics.h"

#include "core/analysis/depth_entry.h"
#include "core/analysis/integration_graph.h"
#include "core/host/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vantrel::analysis {

namespace {

std::optional<float> finite(float value) {
    return std::isfinite(value) ? std::optional<float>(value) : std::nullopt;
}

// A statistic as the texts show it. A missing value reads kNoValueText; a value the picture
// leaves without any digit (0 as "######" gives "", as "#.##" gives ".") reads "0".
std::string valueText(std::optional<float> value, std::string_view pattern) {
    if (!value || !std::isfinite(*value))
        return std::string(kNoValueText);
    std::string text = FormatNumber(*value, pattern);
    if (text.find_first_of("0123456789") == std::string::npos)
        return "0";
    return text;
}

std::vector<float> lineLengths(const ProjectState& state) {
    std::vector<float> lengths;
    lengths.reserve(state.AxialLines.size());
    for (const AxialLine& line : state.AxialLines) {
        const float dx = line.x1 - line.x2;
        const float dy = line.y1 - line.y2;
        lengths.push_back(std::sqrt(dx * dx + dy * dy));
    }
    return lengths;
}

std::string skewWordOf(std::optional<float> skew, int lineCount) {
    if (!skew) {
        return lineCount > 0 ? " not skewed (all lines have the same length)"
                             : " " + std::string(kNoValueText);
    }
    if (*skew > 1)
        return " skewed to the right";
    if (*skew < -1)
        return " skewed to the left";
    // A skew of exactly 1 or -1 counts as near normal, so that the sentence always ends.
    return " near normal";
}

void fillLengthStatistics(const ProjectState& state, AxialMapStatisticsResult& result) {
    const std::vector<float> lengths = lineLengths(state);
    const auto n = static_cast<float>(result.lineCount);
    float total = 0;
    for (float length : lengths)
        total += length;
    result.totalLength = total;
    if (lengths.empty())
        return;

    const float mean = total / n;
    result.meanLength = mean;
    // The float mean of equal lengths can miss them by a rounding step; that would give a tiny
    // deviation and a huge ratio where the lengths do not vary at all.
    const bool allEqual =
        std::adjacent_find(lengths.begin(), lengths.end(), std::not_equal_to<>()) == lengths.end();
    float squares = 0;
    float cubes = 0;
    for (float length : lengths) {
        const float deviation = mean - length;
        squares += deviation * deviation;
        cubes += deviation * deviation * deviation;
    }
    const float sd = allEqual ? 0.0f : std::sqrt(squares / n);
    result.lengthDeviation = sd;
    if (sd > 0) {
        result.meanOverDeviation = finite(mean / sd);
        result.skew = finite(cubes / ((n - 1) * sd * sd * sd));
    }
}

} // namespace

AxialMapStatisticsResult AxialMapStatistics(const ProjectState& state) {
    AxialMapStatisticsResult result;
    if (!state.IntersectionsComputed) {
        result.refused = true;
        result.texts.texts[0] =
            "You need to compute the line intersections before you can generate statistics";
        result.texts.onlyFirstTextShown = true;
        return result;
    }

    const int n = state.LineCount();
    const int m = state.JunctionCount();
    result.lineCount = n;
    result.junctionCount = m;
    if (m > 0)
        result.linesPerJunction = static_cast<float>(n) / static_cast<float>(m);
    if (n > 0)
        result.junctionsPerLine = m > 0 ? finite(1 / *result.linesPerJunction) : 0.0f;
    result.upperRatio = static_cast<float>(n) / 4;
    fillLengthStatistics(state, result);
    result.skewWord = skewWordOf(result.skew, n);

    StatisticsTexts& texts = result.texts;
    texts.caption = "Statistics of the Axial Map";
    texts.texts[0] =
        "The axial map you have drawn has " + NumberText(n) + " lines and" + NumberText(m) +
        " junctions. This gives a ratio of " + valueText(result.linesPerJunction, "#.##") +
        " lines to junctions. To give an idea of what type of map this is, had you drawn a "
        "completely linear axial map connected as a circle, then the ratio would be 1, with the "
        "same number of junctions as the number of lines. So in this case, your map is " +
        valueText(result.junctionsPerLine, "##.##") +
        " times as dense in terms of junctions to lines as a map based on a string of lines "
        "arranged in a circle. Very dense axial maps have a very large number of junctions to "
        "lines but it is rare to find maps denser than the number of lines/4; in this case, this "
        "upper ratio would be " +
        valueText(result.upperRatio, "#.##");
    texts.texts[1] = "You can get an idea of this density in the snapshot of axial lines on the "
                     "black inset screen where the lines are in white and the junctions are in "
                     "red";
    texts.texts[2] =
        "The total distance of all the lines drawn is " + valueText(result.totalLength, "######") +
        " where the units are the arbitrary ones used on the screen. With " + NumberText(n) +
        " lines, then the average or mean axial line length is " +
        valueText(result.meanLength, "######") + " and the standard deviation of line lengths is " +
        valueText(result.lengthDeviation, "######") +
        ". With the ratio of mean to standard deviation as " +
        valueText(result.meanOverDeviation, "##.##") + ", then this implies that the graph is" +
        result.skewWord;
    texts.texts[3] = "In future versions of this program, we will extract more statistical "
                     "properties of the axial map.";
    return result;
}

namespace {

enum class GraphKind { Axial, Junction };

GraphStatisticsResult graphStatistics(const Matrix<std::int16_t>& depth,
                                      const std::vector<NodePoint>& nodes, GraphKind kind) {
    GraphStatisticsResult result;
    const int n = static_cast<int>(nodes.size());
    const auto nodeCount = static_cast<float>(n);
    result.nodeCount = n;
    result.complete = nodeCount * (nodeCount - 1) / 2;

    // Depths are whole numbers: summed exactly, where a float sum would drift on a large map.
    long long depthSum = 0;
    float distanceSum = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const int d = depthEntry(depth, i, j);
            result.arcs += d == 1;
            depthSum += d;
            const NodePoint& a = nodes[static_cast<std::size_t>(i)];
            const NodePoint& b = nodes[static_cast<std::size_t>(j)];
            const float dx = a.x - b.x;
            const float dy = a.y - b.y;
            distanceSum += std::sqrt(dx * dx + dy * dy);
        }
    }

    if (n > 0) {
        result.arcsPerNode = static_cast<float>(result.arcs) / nodeCount;
        result.treeRatio = (nodeCount - 1) / nodeCount;
    }
    if (result.complete > 0) {
        result.treeToComplete = *result.treeRatio / result.complete;
        result.actualToComplete = *result.arcsPerNode / result.complete;
        result.averageDepth = static_cast<float>(depthSum) / result.complete;
        result.averageDistance = finite(distanceSum / result.complete);
    }

    const bool axial = kind == GraphKind::Axial;
    StatisticsTexts& texts = result.texts;
    texts.caption = "Statistics of the Axial Graph";
    texts.texts[0] =
        std::string(axial ? "The axial graph associated with the axial map has "
                          : "The junction graph associated with the axial map has ") +
        NumberText(result.arcs) + " arcs and" + NumberText(n) + " nodes. This gives a ratio of " +
        valueText(result.arcsPerNode, "#.##") +
        " arcs to nodes. Had you drawn the minimally connected graph which is called a tree, then "
        "this ratio would be n-1 arcs to n nodes and thus a little less than 1 but close to 1 for "
        "large n, the lower bound of a connected graph. With these values, the tree graph has a "
        "ratio which is " +
        valueText(result.treeRatio, "#.##") +
        " and this must be compared with the case where every node (associated with an axial "
        "line) is connected to every other node (every other line) which gives a ratio of " +
        valueText(result.complete, "######") +
        ".  In fact such complete connectivity is an extreme possibility.";
    texts.texts[1] = "The ratios of the tree graph and our actual graph to the completely "
                     "connected structure are " +
                     valueText(result.treeToComplete, "####.###") + " and " +
                     valueText(result.actualToComplete, "####.###") + " respectively.";
    texts.texts[2] =
        "The average topological distance in this graph which computed from summing the shortest "
        "path lengths from any node to any other based on the original binary matrix is " +
        valueText(result.averageDepth, "###.##") +
        (axial ? ". This is an important measure as it is the average span or average depth of "
                 "the axial map in fact. The average distance in Euclidean terms between the "
                 "midpoints of each axial line is "
               : ". This is an important measure as it is the average span or average depth of "
                 "the junction map in fact. The average distance in Euclidean terms between the "
                 "junctions on each axial line is ") +
        valueText(result.averageDistance, "#####.##") + ".";
    texts.texts[3] =
        "In future versions of this program, we will extract statistical properties of these "
        "graphs.";
    return result;
}

} // namespace

GraphStatisticsResult AxialGraphStatistics(const ProjectState& state) {
    std::vector<NodePoint> nodes;
    nodes.reserve(state.AxialLines.size());
    for (const AxialLine& line : state.AxialLines)
        nodes.push_back(lineMidPoint(line));
    return graphStatistics(state.LineDepth, nodes, GraphKind::Axial);
}

GraphStatisticsResult JunctionGraphStatistics(const ProjectState& state) {
    std::vector<NodePoint> nodes;
    nodes.reserve(state.Junctions.size());
    for (const Junction& junction : state.Junctions)
        nodes.push_back({junction.x, junction.y});
    return graphStatistics(state.JunctionDepth, nodes, GraphKind::Junction);
}

} // namespace vantrel::analysis

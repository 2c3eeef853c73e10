// Small analysed maps for tests: lines, their junctions and the depths of both graphs, filled
// into the project as the analyses would leave them.
#pragma once

#include "core/app/project_state.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <vector>

namespace vantrel::testing {

// Shortest path lengths by breadth-first search; 0 on the diagonal and for unconnected pairs.
inline Matrix<std::int16_t> ShortestDepths(const std::vector<std::vector<int>>& neighbours) {
    const auto count = neighbours.size();
    Matrix<std::int16_t> depth(count, count);
    for (std::size_t origin = 0; origin < count; ++origin) {
        std::vector<int> reached(count, -1);
        reached[origin] = 0;
        std::deque<std::size_t> queue{origin};
        while (!queue.empty()) {
            const std::size_t item = queue.front();
            queue.pop_front();
            for (int next : neighbours[item]) {
                const auto index = static_cast<std::size_t>(next);
                if (reached[index] < 0) {
                    reached[index] = reached[item] + 1;
                    queue.push_back(index);
                }
            }
        }
        for (std::size_t j = 0; j < count; ++j)
            depth(origin, j) = static_cast<std::int16_t>(std::max(reached[j], 0));
    }
    return depth;
}

inline void AddNeighbours(std::vector<std::vector<int>>& neighbours, int a, int b) {
    neighbours[static_cast<std::size_t>(a)].push_back(b);
    neighbours[static_cast<std::size_t>(b)].push_back(a);
}

// Lines related when they share a junction.
inline Matrix<std::int16_t> LineDepthsOf(const ProjectState& state) {
    std::vector<std::vector<int>> neighbours(state.AxialLines.size());
    for (const Junction& junction : state.Junctions)
        AddNeighbours(neighbours, static_cast<int>(junction.firstLine) - 1,
                      static_cast<int>(junction.secondLine) - 1);
    return ShortestDepths(neighbours);
}

// Junctions related when they lie on the same line.
inline Matrix<std::int16_t> JunctionDepthsOf(const ProjectState& state) {
    std::vector<std::vector<int>> neighbours(state.Junctions.size());
    const auto shareALine = [](const Junction& a, const Junction& b) {
        return a.firstLine == b.firstLine || a.firstLine == b.secondLine ||
               a.secondLine == b.firstLine || a.secondLine == b.secondLine;
    };
    for (std::size_t i = 0; i < state.Junctions.size(); ++i)
        for (std::size_t j = i + 1; j < state.Junctions.size(); ++j)
            if (shareALine(state.Junctions[i], state.Junctions[j]))
                AddNeighbours(neighbours, static_cast<int>(i), static_cast<int>(j));
    return ShortestDepths(neighbours);
}

// The largest depth of a matrix, as an analysis leaves it in the graph span.
inline int LargestDepth(const Matrix<std::int16_t>& depth) {
    int largest = 0;
    for (std::size_t i = 0; i < depth.rows(); ++i)
        for (std::size_t j = 0; j < depth.columns(); ++j)
            largest = std::max<int>(largest, depth(i, j));
    return largest;
}

// Fills the project with these lines and junctions (first line, second line, x, y) and the
// depths of both analyses.
inline void SetAnalysedMap(ProjectState& state, std::initializer_list<AxialLine> lines,
                           std::initializer_list<Junction> junctions) {
    state.AxialLines = lines;
    state.Junctions = junctions;
    state.IntersectionsComputed = true;
    state.LineDepth = LineDepthsOf(state);
    state.JunctionDepth = JunctionDepthsOf(state);
    state.GraphSpan = LargestDepth(state.LineDepth);
}

} // namespace vantrel::testing

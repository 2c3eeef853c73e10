// Synthetic maps for tests and benchmarks: line counts with their junction rows.
#pragma once

#include "core/app/project_state.h"

#include <algorithm>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace vantrel::maps {

struct MapData {
    int lineCount = 0;
    std::vector<Junction> junctions;
};

inline Junction JunctionOf(int firstNumber, int secondNumber, float x = 0, float y = 0) {
    return {static_cast<float>(firstNumber), static_cast<float>(secondNumber), x, y};
}

// Rows ordered by first line, then second, as the intersection search writes them.
inline void SortJunctions(MapData& map) {
    std::sort(map.junctions.begin(), map.junctions.end(), [](const Junction& a, const Junction& b) {
        return std::pair(a.firstLine, a.secondLine) < std::pair(b.firstLine, b.secondLine);
    });
}

// Any junction list at all: isolated lines, separate groups, repeated pairs, now and then a
// junction whose numbers are equal or name no line.
inline MapData RandomMap(std::mt19937& random, int maxLines) {
    MapData map;
    map.lineCount = std::uniform_int_distribution(0, maxLines)(random);
    const int most = map.lineCount * std::uniform_int_distribution(0, 3)(random);
    const int junctionCount = std::uniform_int_distribution(0, std::max(most, 0))(random);
    std::uniform_int_distribution number(1, std::max(map.lineCount, 1));
    std::uniform_int_distribution odd(0, 40);
    for (int k = 0; k < junctionCount; ++k) {
        int first = number(random);
        int second = number(random);
        const int oddity = odd(random);
        if (oddity == 0) {
            second = first;
        } else if (oddity == 1) {
            second = map.lineCount + 1;
        } else if (oddity == 2) {
            first = 0;
        } else if (first == second) {
            continue;
        }
        map.junctions.push_back(JunctionOf(std::min(first, second), std::max(first, second)));
    }
    return map;
}

// A connected map that grows one line at a time, each new line crossing one of the `reach`
// lines drawn just before it, then further crossings between near lines up to junctionCount.
inline MapData GrowingMap(std::mt19937& random, int lineCount, int junctionCount, int reach) {
    MapData map;
    map.lineCount = lineCount;
    std::set<std::pair<int, int>> pairs;
    for (int line = 2; line <= lineCount; ++line) {
        pairs.insert(
            {std::uniform_int_distribution(std::max(1, line - reach), line - 1)(random), line});
    }
    std::uniform_int_distribution number(1, std::max(lineCount, 1));
    std::uniform_int_distribution gap(1, reach);
    const auto most = static_cast<std::size_t>(lineCount) * (lineCount - 1) / 2;
    while (pairs.size() < static_cast<std::size_t>(junctionCount) && pairs.size() < most) {
        const int first = number(random);
        const int second = first + gap(random);
        if (second <= lineCount) {
            pairs.insert({first, second});
        }
    }
    for (const auto& [first, second] : pairs) {
        map.junctions.push_back(JunctionOf(first, second, float(first), float(second)));
    }
    return map;
}

// Copies of one map side by side, no line of one copy crossing a line of another.
inline MapData SeparateCopies(const MapData& group, int copies) {
    MapData map;
    map.lineCount = group.lineCount * copies;
    for (int copy = 0; copy < copies; ++copy) {
        const float offset = static_cast<float>(copy * group.lineCount);
        for (Junction junction : group.junctions) {
            junction.firstLine += offset;
            junction.secondLine += offset;
            map.junctions.push_back(junction);
        }
    }
    return map;
}

// Layers of `width` lines, each line crossing the line below it in the next layer and one or two
// more of that layer: the shortest paths between far layers number in the trillions of millions,
// more than a double holds exactly. Drawn from the generator's raw output, the same everywhere.
inline MapData LayeredMap(std::mt19937& random, int layers, int width) {
    MapData map;
    map.lineCount = layers * width;
    std::set<std::pair<int, int>> pairs;
    for (int layer = 0; layer + 1 < layers; ++layer) {
        const int first = layer * width + 1;
        for (int i = 0; i < width; ++i) {
            pairs.insert({first + i, first + width + i});
            for (auto more = 1 + random() % 2; more > 0; --more)
                pairs.insert({first + i, first + width + static_cast<int>(random() % width)});
        }
    }
    for (const auto& [first, second] : pairs)
        map.junctions.push_back(JunctionOf(first, second, float(first), float(second)));
    return map;
}

// A street grid: every row and every column of cells is cut into straight lines of 3 to 9 cells
// with gaps of 0 to 2 cells between them; a row line and a column line cross where each covers
// the other's cell. Row lines are numbered first, row by row, then column lines column by column.
inline MapData StreetGrid(std::mt19937& random, int rows, int columns) {
    struct Span {
        int number, from, to;
    };
    std::uniform_int_distribution length(3, 9);
    std::uniform_int_distribution gap(0, 2);
    MapData map;
    auto cut = [&](int lanes, int cells) {
        std::vector<std::vector<Span>> spans(lanes);
        for (auto& lane : spans) {
            for (int from = gap(random); from < cells;) {
                const int to = std::min(from + length(random) - 1, cells - 1);
                lane.push_back({++map.lineCount, from, to});
                from = to + 1 + gap(random);
            }
        }
        return spans;
    };
    const auto rowLines = cut(rows, columns);
    const auto columnLines = cut(columns, rows);
    for (int row = 0; row < rows; ++row) {
        for (const Span& across : rowLines[row]) {
            for (int column = across.from; column <= across.to; ++column) {
                for (const Span& down : columnLines[column]) {
                    if (down.from <= row && row <= down.to) {
                        map.junctions.push_back(
                            JunctionOf(across.number, down.number, float(column), float(row)));
                    }
                }
            }
        }
    }
    SortJunctions(map);
    return map;
}

} // namespace vantrel::maps

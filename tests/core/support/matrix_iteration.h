// The depth computation as the original program did it: adjacency by matrix product, then
// repeated products of the depth table with the adjacency, one level at a time. Slow on purpose
// (cubic per level); the search engine must reproduce it pair for pair. Sums are 32-bit.
#pragma once

#include "core/app/matrix.h"
#include "core/app/project_state.h"
#include "core/host/number_text.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vantrel::reference {

using Table = Matrix<std::int32_t>;

// (line, junction) 0/1, from each junction's two line numbers rounded; numbers outside
// 1..lineCount are not entered.
inline Table LineJunctionTable(int lineCount, const std::vector<Junction>& junctions) {
    Table table(lineCount, junctions.size());
    for (std::size_t junction = 0; junction < junctions.size(); ++junction) {
        for (float number : {junctions[junction].firstLine, junctions[junction].secondLine}) {
            const long long line = RoundHalfEven(number);
            if (line >= 1 && line <= lineCount) {
                table(line - 1, junction) = 1;
            }
        }
    }
    return table;
}

// Lines i, j: sum over junctions k of table(j, k) * table(i, k), then 1 where above 0.
inline Table LineAdjacencyTable(const Table& incidence) {
    const std::size_t n = incidence.rows();
    Table adjacency(n, n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            std::int32_t sum = 0;
            for (std::size_t k = 0; k < incidence.columns(); ++k) {
                sum += incidence(j, k) * incidence(i, k);
            }
            adjacency(i, j) = sum > 0 ? 1 : 0;
        }
    }
    return adjacency;
}

// Junctions i, j: sum over lines k of table(k, j) * table(k, i), then 1 where above 0.
inline Table JunctionAdjacencyTable(const Table& incidence) {
    const std::size_t n = incidence.columns();
    Table adjacency(n, n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            std::int32_t sum = 0;
            for (std::size_t k = 0; k < incidence.rows(); ++k) {
                sum += incidence(k, j) * incidence(k, i);
            }
            adjacency(i, j) = sum > 0 ? 1 : 0;
        }
    }
    return adjacency;
}

struct IterationResult {
    Table depthWork; // the working table when the iteration ended
    Table depth;     // depthWork with the diagonal cleared
    bool radius3Written = false;
    Table radius3; // the working table after level 3, when that level ran
    std::vector<std::int32_t> totalDepth;
    std::vector<float> integration;
    std::vector<int> disconnectedNumbers;
    int largestDepth = -10000;
    int lastLevel = 1;
};

// For two or more items, as the analysis of either graph runs it on its adjacency table.
inline IterationResult IterateDepths(const Table& adjacency) {
    const std::size_t n = adjacency.rows();
    IterationResult result;
    result.depthWork = adjacency;
    Table product(n, n);
    for (std::size_t level = 2; level <= n; ++level) {
        result.lastLevel = static_cast<int>(level);
        // The products are summed in i, k, j order, which gives the same whole numbers as the
        // i, j, k order of the original and lets the compiler vectorise the inner loop.
        for (std::size_t i = 0; i < n; ++i) {
            std::int32_t* out = product.row(i);
            std::fill(out, out + n, 0);
            for (std::size_t k = 0; k < n; ++k) {
                const std::int32_t weight = result.depthWork(i, k);
                const std::int32_t* in = adjacency.row(k);
                for (std::size_t j = 0; j < n; ++j) {
                    out[j] += weight * in[j];
                }
            }
        }
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                const bool reachedNow = product(i, j) >= 1 && result.depthWork(i, j) == 0;
                product(i, j) =
                    reachedNow ? static_cast<std::int32_t>(level) : result.depthWork(i, j);
            }
        }
        result.depthWork = product;
        if (level == 3) {
            result.radius3 = result.depthWork;
            result.radius3Written = true;
        }
        bool complete = true;
        for (std::size_t i = 0; i < n && complete; ++i) {
            for (std::size_t j = i + 1; j < n && complete; ++j) {
                complete = result.depthWork(i, j) != 0;
            }
        }
        if (complete) {
            break;
        }
    }

    result.depth = result.depthWork;
    for (std::size_t i = 0; i < n; ++i) {
        result.depth(i, i) = 0;
    }

    result.totalDepth.assign(n, 0);
    result.integration.assign(n, 0.0f);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            if (j != i) {
                result.totalDepth[i] += result.depthWork(i, j);
            }
        }
        if (result.totalDepth[i] != 0) {
            result.integration[i] = static_cast<float>(1.0 / result.totalDepth[i]);
        } else {
            result.disconnectedNumbers.push_back(static_cast<int>(i) + 1);
        }
    }
    float highest = -1.0f;
    float lowest = 100000.0f;
    for (float value : result.integration) {
        if (value > highest) {
            highest = value;
        }
        if (value < lowest) {
            lowest = value;
        }
    }
    for (float& value : result.integration) {
        value = highest <= lowest ? 1.0f : (value - lowest) / (highest - lowest);
    }

    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            result.largestDepth = std::max(result.largestDepth, result.depth(i, j));
        }
    }
    return result;
}

} // namespace vantrel::reference

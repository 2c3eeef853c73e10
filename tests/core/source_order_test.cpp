#include "core/analysis/source_order.h"

#include "support/map_generators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <queue>
#include <random>

namespace vantrel::analysis {
namespace {

// Every item once, and no batch larger than asked.
void expectBatchesOfEvery(const SourceBatches& batches, int itemCount, std::size_t batchSize) {
    std::vector<int> sorted = batches.order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> every(itemCount);
    for (int item = 0; item < itemCount; ++item)
        every[item] = item;
    EXPECT_EQ(sorted, every);
    ASSERT_EQ(batches.starts.front(), 0u);
    ASSERT_EQ(batches.starts.back(), batches.order.size());
    for (int batch = 0; batch < batches.count(); ++batch) {
        EXPECT_GT(batches.starts[batch + 1], batches.starts[batch]);
        EXPECT_LE(batches.starts[batch + 1] - batches.starts[batch], batchSize);
    }
}

// The most steps from the first line of a batch to any other.
int Reach(const MapGraph& graph, std::span<const int> lines) {
    std::vector<int> depth(graph.lineCount(), -1);
    std::queue<int> queue;
    depth[lines.front()] = 0;
    queue.push(lines.front());
    for (; !queue.empty(); queue.pop()) {
        for (const int next : graph.neighbours(queue.front())) {
            if (depth[next] < 0) {
                depth[next] = depth[queue.front()] + 1;
                queue.push(next);
            }
        }
    }
    int furthest = 0;
    for (const int line : lines)
        furthest = std::max(furthest, depth[line]);
    return furthest;
}

TEST(SourceBatches, HoldEveryLineAndJunctionOnceInBatchesOfAtMostTheSize) {
    std::mt19937 random(21);
    const maps::MapData samples[] = {maps::StreetGrid(random, 30, 30),
                                     maps::RandomMap(random, 500),
                                     maps::SeparateCopies(maps::GrowingMap(random, 9, 12, 3), 40),
                                     {}};
    for (const auto& map : samples) {
        const MapGraph graph(map.lineCount, map.junctions);
        for (const std::size_t size : {1u, 64u, 256u}) {
            expectBatchesOfEvery(LineBatches(graph, size), graph.lineCount(), size);
            expectBatchesOfEvery(JunctionBatches(graph, size), graph.junctionCount(), size);
        }
    }
}

TEST(SourceBatches, OfAStreetGridAreFullAndCompact) {
    std::mt19937 random(8);
    const auto map = maps::StreetGrid(random, 120, 120);
    const MapGraph graph(map.lineCount, map.junctions);
    const auto lines = LineBatches(graph, 256);
    EXPECT_EQ(lines.count(), (graph.lineCount() + 255) / 256);
    EXPECT_EQ(JunctionBatches(graph, 256).count(), (graph.junctionCount() + 255) / 256);
    // A batch of clustered lines lies within a few steps of its first line; 256 lines numbered one
    // after another lie along rows of the grid, over twice as far.
    const std::span<const int> order(lines.order);
    int clustered = 0;
    int consecutive = 0;
    for (int batch = 0; batch + 1 < lines.count(); ++batch) {
        const int reach = Reach(graph, order.subspan(lines.starts[batch], 256));
        EXPECT_LE(reach, 20) << batch;
        clustered += reach;
        std::vector<int> numbered(256);
        for (int i = 0; i < 256; ++i)
            numbered[i] = batch * 256 + i;
        consecutive += Reach(graph, numbered);
    }
    EXPECT_LT(2 * clustered, consecutive);
}

} // namespace
} // namespace vantrel::analysis

#include "core/analysis/choice.h"

#include "support/map_generators.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>

namespace vantrel::analysis {
namespace {

// FNV-1a over every bit of every value, column by column.
std::uint64_t Digest(const std::vector<std::vector<double>>& columns) {
    std::uint64_t digest = 14695981039346656037ULL;
    for (const auto& column : columns) {
        for (const double value : column) {
            std::uint64_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            for (int byte = 0; byte < 8; ++byte) {
                digest = (digest ^ ((bits >> (8 * byte)) & 0xff)) * 1099511628211ULL;
            }
        }
    }
    return digest;
}

// Path counts past 2^53 are rounded as they are summed, so the order of every addition shows in
// the last bits; the digests are those of the searches as they stood before the wide words.
TEST(Choice, KeepsEveryBitWhenPathCountsPassWhatADoubleHoldsExactly) {
    std::mt19937 random(7);
    const auto map = maps::LayeredMap(random, 64, 4);
    const MapGraph graph(map.lineCount, map.junctions);
    const int radii[] = {kUnlimitedSteps, 3};
    for (const int threads : {1, 3}) {
        EXPECT_EQ(Digest(ComputeLineChoice(graph, radii, {.threads = threads})),
                  0xfe6f0c0e534cfb1bULL)
            << threads;
        EXPECT_EQ(Digest(ComputeJunctionChoice(graph, radii, {.threads = threads})),
                  0x2b6609a1fd3bfcf8ULL)
            << threads;
    }
}

} // namespace
} // namespace vantrel::analysis

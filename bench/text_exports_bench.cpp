// The largest export of a full project: the data matrix of 500 lines and 499 junctions.
#include "core/export/text_exports.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <vector>

namespace {

std::vector<vantrel::Junction> JunctionsOfLines(int lineCount, int junctionCount) {
    std::vector<vantrel::Junction> junctions;
    for (int k = 0; k < junctionCount; ++k) {
        const auto first = static_cast<float>(k % lineCount + 1);
        const auto second = static_cast<float>((k + 7) % lineCount + 1);
        junctions.push_back({first, second, 1000.5f + k, 2000.25f + k});
    }
    return junctions;
}

void WriteDataMatrixAtCapacity(benchmark::State& state) {
    const auto junctions = JunctionsOfLines(500, 499);
    for (auto _ : state) {
        std::ostringstream out;
        vantrel::exports::WriteDataMatrix(out, 500, junctions);
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * 500 * 499);
}
BENCHMARK(WriteDataMatrixAtCapacity)->Unit(benchmark::kMillisecond);

void WriteJunctionsAtCapacity(benchmark::State& state) {
    const auto junctions = JunctionsOfLines(500, 499);
    for (auto _ : state) {
        std::ostringstream out;
        vantrel::exports::WriteJunctions(out, junctions);
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(WriteJunctionsAtCapacity)->Unit(benchmark::kMicrosecond);

} // namespace

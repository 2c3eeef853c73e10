// Timings of preparing raw street data: the synthetic town of about 10,000, 100,000 and
// 1,000,000 raw pieces, every cleaning step on with the default settings.
#include "core/streets/preparation.h"

#include "synthetic_town.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace vantrel::streets {
namespace {

// About 36 raw pieces a block of the default town.
void BM_PrepareTown(benchmark::State& state) {
    bench::TownPlan plan;
    plan.blocksAcross = plan.blocksDown =
        static_cast<int>(std::lround(std::sqrt(state.range(0) / 36.0)));
    const bench::Town town = bench::MakeTown(plan);
    std::vector<MapLine> pieces;
    std::vector<std::int64_t> ids;
    bench::RawPieces(town, pieces, ids);
    StreetSettings settings;
    settings.snapDistance = 0.1;
    settings.simplifyAngle = 5;
    settings.checkDistance = 2;
    std::size_t segments = 0;
    for (auto _ : state) {
        const PreparedStreets prepared = PrepareStreets(pieces, ids, settings);
        segments = prepared.segments.size();
        benchmark::DoNotOptimize(prepared.segments.data());
    }
    state.counters["pieces"] = static_cast<double>(pieces.size());
    state.counters["segments"] = static_cast<double>(segments);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pieces.size()));
}
BENCHMARK(BM_PrepareTown)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace
} // namespace vantrel::streets

// The recovery copy written after every finished line: a full project of 500 lines with a plan
// whose PNG is already encoded, as the desktop keeps it.
#include "files/project_file.h"
#include "files/recovery_folder.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

namespace {

using namespace vantrel;

files::ProjectFile Project(int lineCount, qsizetype planBytes) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(0, 9000);
    files::ProjectFile project;
    project.mapWidth = 9000;
    project.mapHeight = 6750;
    for (int line = 0; line < lineCount; ++line)
        project.lines.push_back(
            {coordinate(random), coordinate(random), coordinate(random), coordinate(random)});
    // Random bytes stand for a plan's PNG, which barely compresses either.
    QByteArray png(planBytes, '\0');
    for (char& byte : png)
        byte = static_cast<char>(random());
    project.planBase64 = png.toBase64();
    return project;
}

void BM_RecoveryCopy(benchmark::State& state) {
    const files::ProjectFile project = Project(500, state.range(0));
    QTemporaryDir folder;
    files::RecoveryFolder recovery(folder.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(recovery.keep(project));
    recovery.clear();
}
// No plan, a 300 KB plan (a scanned street plan of 1000 by 750 pixels) and a 3 MB one.
BENCHMARK(BM_RecoveryCopy)->Arg(0)->Arg(300'000)->Arg(3'000'000)->Unit(benchmark::kMillisecond);

} // namespace

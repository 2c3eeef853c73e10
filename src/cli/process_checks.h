// What the commands that run as several processes check and tell alike.
#pragma once

#include "cli/run_processes.h"
#include "cli/stage_log.h"

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>

namespace vantrel::cli {

// Every process reads the map itself; one that found another map (a file changed, or different
// on its machine) would make the shared sums meaningless. `counts` are the items it found.
std::optional<std::string> CheckSameMap(RunProcesses& processes,
                                        std::initializer_list<long long> counts);

// Under mpirun a run is stopped from outside also when another of its processes has ended; the
// lead says so, naming the output left as it was.
void NoteStoppedRun(StageLog& log, const RunProcesses& processes,
                    const std::filesystem::path& output);

} // namespace vantrel::cli

// The segment command: from a map of axial or road-centre lines to the measures of its segments,
// in a folder or a GIS file.
#pragma once

#include "cli/interruption.h"
#include "cli/run_processes.h"
#include "cli/segment_arguments.h"
#include "cli/stage_log.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantrel::cli {

inline constexpr std::string_view kSegmentMeasuresFile = "segment_measures.csv";
// The layer of a GIS output.
inline constexpr char kSegmentLayer[] = "segments";

// Reads the map, makes its segments, analyses them and writes their measures, as RunAnalysis
// does for axial lines: a place that cannot be written is found before the analysis, and after
// a fault or an interruption the output is as it was. Returns the fault, nullopt when written.
// With several `processes`, each reads the map and analyses its share of the origins; the lead
// alone writes.
std::optional<std::string> RunSegmentAnalysis(const SegmentOptions& options, StageLog& log,
                                              Interruption* interruption = nullptr,
                                              RunProcesses* processes = nullptr);

// The whole command, from the words after "segment" to the exit status.
int RunSegmentCommand(std::span<const std::string_view> arguments, int defaultThreads,
                      Interruption& interruption, RunProcesses& processes);

} // namespace vantrel::cli

// The analyse command: from a lines file to the text exports and measures files in a folder.
#pragma once

#include "cli/arguments.h"
#include "cli/interruption.h"
#include "cli/run_processes.h"
#include "cli/stage_log.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantrel::cli {

// The files written into the output folder.
inline constexpr std::string_view kAxialLinesFile = "axial_lines.txt";
inline constexpr std::string_view kJunctionsFile = "junctions.txt";
inline constexpr std::string_view kDataMatrixFile = "data_matrix.txt";
inline constexpr std::string_view kAxialIntegrationFile = "axial_integration.txt";
inline constexpr std::string_view kJunctionIntegrationFile = "junction_integration.txt";
inline constexpr std::string_view kAxialMeasuresFile = "axial_measures.csv";
inline constexpr std::string_view kJunctionMeasuresFile = "junction_measures.csv";
inline constexpr std::string_view kOutputFiles[] = {
    kAxialLinesFile,          kJunctionsFile,     kDataMatrixFile,      kAxialIntegrationFile,
    kJunctionIntegrationFile, kAxialMeasuresFile, kJunctionMeasuresFile};

// Reads and checks the whole lines file, makes sure the output folder can be replaced, finds the
// junctions, runs the analyses asked for and puts the folder of all their files in the output
// folder's place. Returns the fault that stopped the run, naming the file (and for a malformed
// lines file the line); nullopt when every file was written. After a fault, or an interruption
// through `interruption`, the output folder holds what it held before. With several `processes`,
// each reads the map and runs its share of the searches; the lead alone writes.
std::optional<std::string> RunAnalysis(const AnalyseOptions& options, StageLog& log,
                                       Interruption* interruption = nullptr,
                                       RunProcesses* processes = nullptr);

} // namespace vantrel::cli

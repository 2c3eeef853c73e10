// The prepare command: from raw street data (an OpenStreetMap file or any GIS layer) to a clean
// road-centre-line map of straight segments that meet only at their end points, with a layer of
// what was changed and what is left to check.
#pragma once

#include "cli/interruption.h"
#include "cli/stage_log.h"
#include "cli/street_preparation.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantrel::cli {

struct PrepareOptions {
    std::filesystem::path input;
    // A GIS file: .gpkg, .geojson, .fgb or .shp.
    std::filesystem::path output;
    // The layer of a GIS dataset to read; empty for its one layer of lines.
    std::string layer;
    StreetOptions streets;
    // Replace an output file holding layers prepare does not write, or the map being read.
    bool overwrite = false;
    bool quiet = false;
    bool timings = false;
};

struct ParsedPrepare {
    bool help = false;
    PrepareOptions options;
    // Set when the command line cannot be run; says what is wrong with it.
    std::string error;
};

// `words` are those after "prepare".
ParsedPrepare ParsePrepareArguments(std::span<const std::string_view> words);

// Reads, prepares and writes the layers, which take the place of files of the same names only
// when all are written. Returns the fault that stopped the run; after a fault or an interruption
// the files of the output's names are as they were.
std::optional<std::string> RunPrepare(const PrepareOptions& options, StageLog& log,
                                      Interruption* interruption = nullptr);

std::string PrepareHelpText();

// The whole command as the program runs it, with its exit status: 0 done, 1 failed, 2 a wrong
// command line.
int RunPrepareCommand(std::span<const std::string_view> words, Interruption& interruption);

} // namespace vantrel::cli

// The command line of vantrel-cli: what a run is asked to do, and the help text.
#pragma once

#include "core/analysis/item_measures.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

enum class Analyses { Primal, Dual, Both };

// Above this many rows (lines x junctions) the data matrix is left out unless asked for; the
// largest map the desktop program holds gives 249,500.
inline constexpr long long kMaxDataMatrixRows = 1'000'000;

struct AnalyseOptions {
    std::filesystem::path linesFile;
    // A folder for the text files, or a GIS file (.gpkg, .geojson, .fgb, .shp) for two layers.
    std::filesystem::path outputFolder;
    // The layer of a GIS dataset to read; empty for the one layer of lines it holds.
    std::string layer;
    // Lines whose nearest points are at most this far apart, in the map's units, are related too.
    double tolerance = 0;
    std::vector<analysis::MeasureRadius> radii;
    int threads = 1;
    Analyses analyses = Analyses::Both;
    // The data matrix is written when it has at most this many rows.
    long long dataMatrixRowLimit = kMaxDataMatrixRows;
    // A dual analysis expected to take longer than this is announced with its junction count.
    double longDualSeconds = 60;
    // Choice needs a search of its own per item, so it is computed only when asked for.
    bool choice = false;
    // Replace an output folder that holds files the tool did not write.
    bool overwrite = false;
    bool quiet = false;
    bool timings = false;
};

struct ParsedArguments {
    bool help = false;
    AnalyseOptions options;
    // Set when the command line cannot be run; says what is wrong with it.
    std::string error;
};

// `arguments` are the words after the program's name. Threads default to `defaultThreads`.
ParsedArguments ParseArguments(std::span<const std::string_view> arguments, int defaultThreads);

// "3,5,n" -> radii 3, 5 and n. Sets `error` and returns nothing on a fault.
std::vector<analysis::MeasureRadius> ParseRadii(std::string_view list, std::string& error);

// What --help prints; it names the default thread count.
std::string HelpText(int defaultThreads);

} // namespace vantrel::cli

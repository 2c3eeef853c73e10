// The command line of `vantrel-cli segment`: what a segment analysis run is asked to do, and its
// help text.
#pragma once

#include "cli/street_preparation.h"
#include "core/segment/segment_analysis.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace vantrel::cli {

struct SegmentOptions {
    std::filesystem::path mapFile;
    // A folder for segment_measures.csv, or a GIS file (.gpkg, .geojson, .fgb, .shp).
    std::filesystem::path output;
    std::string layer;
    // Axial maps: lines this near are related; road-centre lines: end points this near meet.
    double tolerance = 0;
    // The map's lines are road-centre lines, not axial lines.
    bool roadCentreLines = false;
    // Raw street data, cleaned as `prepare` does before it is made segments; implies
    // roadCentreLines.
    bool prepare = false;
    StreetOptions streets;
    // End pieces of axial lines shorter than this percentage of their line are dropped.
    double stubPercent = 0;
    segment::SegmentAnalysisOptions analysis;
    bool overwrite = false;
    bool quiet = false;
    bool timings = false;
};

struct ParsedSegmentArguments {
    bool help = false;
    SegmentOptions options;
    // Set when the command line cannot be run; says what is wrong with it.
    std::string error;
};

// `arguments` are the words after "segment". Threads default to `defaultThreads`.
ParsedSegmentArguments ParseSegmentArguments(std::span<const std::string_view> arguments,
                                             int defaultThreads);

// What `vantrel-cli segment --help` prints; it names the default thread count.
std::string SegmentHelpText(int defaultThreads);

} // namespace vantrel::cli

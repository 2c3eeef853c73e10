// Preparing raw street data for analysis, as `prepare` does and as an analysis can do first:
// reading OpenStreetMap files and GIS layers, projecting degrees to metres, cleaning, with a
// note for every step.
#pragma once

#include "cli/map_source.h"
#include "cli/stage_log.h"
#include "core/streets/problems.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

// Distances are in metres, whatever the map's units.
struct StreetOptions {
    // OpenStreetMap highway classes to read; empty for the default ones.
    std::vector<std::string> highways;
    bool allHighways = false;
    // The system to project to (EPSG:N); empty for the UTM zone of a map in degrees.
    std::string toCrs;
    double snap = 0.1;
    double simplifyAngle = 5;
    int minGroup = 0;
    double checkDistance = 2;
    bool dropDuplicates = true;
    bool mergeOverlaps = true;
    bool snapEnds = true;
    bool simplify = true;
};

// True for the options of street preparation, which all take a value: --highways, --to-crs,
// --snap, --simplify-angle, --min-group, --check-distance and --skip.
bool IsStreetOption(std::string_view name);

// Reads the value of one of those options into `options`; the fault, or nothing.
std::optional<std::string> ReadStreetOption(std::string_view name, std::string_view value,
                                            StreetOptions& options);

// Reads raw streets from `file`: an OpenStreetMap file's ways (its "lines" layer) of the highway
// classes asked for, a GIS layer (`layer`, or the one layer of lines), or the program's own text
// files. Every feature's pieces, in order, with its id. Notes what was read to `log`.
std::optional<std::string> ReadStreetSource(const std::filesystem::path& file,
                                            const std::string& layer, const StreetOptions& options,
                                            StageLog& log, MapSource& source);

// Projects a map in degrees (or any map, to --to-crs) and cleans it; afterwards `source` holds
// the clean segments, each with its source feature's id, in the system they are in now, and
// `problems` (when given) what was changed and what is left to check. Each step is noted.
std::optional<std::string> PrepareMapSource(MapSource& source, const StreetOptions& options,
                                            StageLog& log,
                                            std::vector<streets::Problem>* problems = nullptr);

// The options above as --help explains them.
std::string StreetOptionsHelp();

} // namespace vantrel::cli

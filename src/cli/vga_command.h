// The vga command of vantrel-cli: visibility graph analysis of a plan's walls or of a plan
// picture, to a CSV file, a styled point layer and a GeoTIFF raster.
#pragma once

#include "cli/interruption.h"
#include "cli/stage_log.h"
#include "core/analysis/item_measures.h"
#include "core/geometry/orientation.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

inline constexpr std::string_view kVgaPointsFile = "vga_points.csv";

struct VgaCommandOptions {
    // A layer of wall lines or polygons, a CSV file of x1,y1,x2,y2, or a plan picture.
    std::filesystem::path wallsFile;
    // The layer of a GIS dataset to read; empty for the one layer of lines it holds.
    std::string layer;
    // Units per pixel of a plan picture; 0 when the walls are lines.
    double pixelSize = 0;
    double spacing = 0;
    std::vector<geometry::DoublePoint> fillPoints;
    std::vector<geometry::DoublePoint> origins;
    std::vector<analysis::MeasureRadius> radii;
    bool metric = false;
    bool angular = false;
    // A folder for vga_points.csv, or a GIS file (.gpkg, .geojson, .fgb, .shp); may be empty
    // when a raster is asked for.
    std::filesystem::path output;
    // A GeoTIFF file; empty for none.
    std::filesystem::path raster;
    int threads = 1;
    bool overwrite = false;
    bool quiet = false;
    bool timings = false;
    // The analysis may take at most this many bytes; 0 for what the machine has free.
    std::size_t maxBytes = 0;
};

struct ParsedVgaArguments {
    bool help = false;
    VgaCommandOptions options;
    // Set when the command line cannot be run; says what is wrong with it.
    std::string error;
};

// `arguments` are the words after "vga". Threads default to `defaultThreads`.
ParsedVgaArguments ParseVgaArguments(std::span<const std::string_view> arguments,
                                     int defaultThreads);

// What vantrel-cli vga --help prints.
std::string VgaHelpText(int defaultThreads);

// Reads the walls, makes the outputs ready, analyses and writes every output asked for. Returns
// the fault that stopped the run; after a fault, or an interruption, the outputs hold what they
// held before.
std::optional<std::string> RunVgaCommand(const VgaCommandOptions& options, StageLog& log,
                                         Interruption* interruption = nullptr);

// The whole vga command as main runs it: the exit status, messages on standard error.
int VgaMain(std::span<const std::string_view> arguments, int defaultThreads,
            Interruption& interruption);

} // namespace vantrel::cli

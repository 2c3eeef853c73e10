#include "cli/prepare_command.h"

#include "cli/command_run.h"
#include "cli/layer_output.h"
#include "core/host/quoted_text.h"
#include "gis/result_files.h"
#include "gis/result_layers.h"
#include "gis/street_layers.h"

#include <algorithm>

namespace vantrel::cli {

namespace {

std::optional<std::string> ReadOption(std::string_view name, std::string_view value,
                                      PrepareOptions& options) {
    if (name == "--out")
        options.output = std::filesystem::path(value);
    else if (name == "--layer")
        options.layer = std::string(value);
    else
        return ReadStreetOption(name, value, options.streets);
    return std::nullopt;
}

} // namespace

ParsedPrepare ParsePrepareArguments(std::span<const std::string_view> words) {
    ParsedPrepare parsed;
    if (std::any_of(words.begin(), words.end(),
                    [](std::string_view word) { return word == "--help" || word == "-h"; })) {
        parsed.help = true;
        return parsed;
    }
    bool haveInput = false;
    for (std::size_t at = 0; at < words.size() && parsed.error.empty(); ++at) {
        const std::string_view word = words[at];
        if (word.size() < 2 || word.front() != '-') {
            if (haveInput)
                parsed.error = "prepare reads one map, but " + QuotedValue(word) + " is a second";
            parsed.options.input = std::filesystem::path(word);
            haveInput = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string_view name = word.substr(0, equals);
        if (name == "--quiet" || name == "--timings" || name == "--overwrite") {
            if (equals != std::string_view::npos)
                parsed.error = QuotedValue(name) + " takes no value";
            (name == "--quiet"     ? parsed.options.quiet
             : name == "--timings" ? parsed.options.timings
                                   : parsed.options.overwrite) = true;
            continue;
        }
        if (name != "--out" && name != "--layer" && !IsStreetOption(name)) {
            parsed.error = "unknown option " + QuotedValue(word);
            continue;
        }
        std::string_view value;
        if (equals != std::string_view::npos)
            value = word.substr(equals + 1);
        else if (at + 1 < words.size())
            value = words[++at];
        if (value.empty()) {
            parsed.error = std::string(name) + " needs a value";
            continue;
        }
        if (auto fault = ReadOption(name, value, parsed.options))
            parsed.error = *fault;
    }
    if (parsed.error.empty() && !haveInput)
        parsed.error = "prepare needs a map to read";
    if (parsed.error.empty() && parsed.options.output.empty())
        parsed.error = "prepare needs --out LAYERS";
    if (parsed.error.empty() && !gis::IsLayerFileName(parsed.options.output))
        parsed.error = "prepare writes GIS layers: --out needs a name ending in .gpkg, .geojson, "
                       ".fgb or .shp, not " +
                       QuotedName(parsed.options.output);
    return parsed;
}

std::optional<std::string> RunPrepare(const PrepareOptions& options, StageLog& log,
                                      Interruption* interruption) {
    log.begin("Reading streets");
    MapSource source;
    if (auto fault = ReadStreetSource(options.input, options.layer, options.streets, log, source))
        return fault;
    LayerOutput output(options.output,
                       {gis::kSegmentsLayer, gis::kProblemsLayer, gis::kProblemLinesLayer},
                       options.overwrite, InputFiles(gis::DatasetFiles(options.input)));
    if (auto fault = output.prepare())
        return fault;
    const Interruption::Guard discardOnInterrupt =
        interruption ? interruption->onInterrupt([&output] { output.discard(); })
                     : Interruption::Guard(nullptr);

    std::vector<streets::Problem> problems;
    if (auto fault = PrepareMapSource(source, options.streets, log, &problems))
        return fault;
    log.begin("Writing layers");
    const gis::StreetLayers layers{source.lines, source.featureIds, source.crsWkt, problems};
    if (auto fault = output.write(
            [&](const std::filesystem::path& folder, const std::filesystem::path& target) {
                return gis::WriteStreetLayers(folder, target, layers);
            }))
        return fault;
    if (auto fault = output.commit())
        return fault;
    log.finish();
    return std::nullopt;
}

std::string PrepareHelpText() {
    return R"(vantrel-cli prepare: from raw street data to a road-centre-line map to analyse.

Usage:
  vantrel-cli prepare MAP --out LAYERS [--layer NAME] [--highways LIST]
                      [--to-crs CRS] [--snap D] [--simplify-angle A]
                      [--min-group N] [--check-distance D] [--skip STEPS]
                      [--overwrite] [--quiet] [--timings]

prepare reads MAP, an OpenStreetMap file (.osm or .osm.pbf, through GDAL's OSM
driver: its ways, the "lines" layer, of the highway classes of --highways),
any vector dataset GDAL opens (its one layer of lines, or --layer), or the
program's own lines files, and writes a clean road-centre-line map: straight
segments that meet only where their end points coincide, as segment analysis
reads them. Coordinates in degrees are first projected to the UTM zone of the
map's centre (or to --to-crs), with a note naming the system; the layers are
written in it. Then, each step counted in a note:
  - ways are split at every vertex they share with another way (in
    OpenStreetMap a junction is a shared node); ways that cross without a
    shared vertex (bridges, tunnels) stay apart;
  - pieces of zero length and exact duplicates are dropped (step duplicates);
  - pieces lying along one another on the same line are merged, each stretch
    drawn once (step overlaps);
  - every unconnected end within --snap metres of another end point, or else
    of another line, is joined to it, the line split there (step snap);
  - each chain of pieces through vertices that join only those two pieces and
    turn by less than --simplify-angle degrees becomes one straight segment, so
    that a curve drawn in many pieces costs its real turn and counts as the few
    segments a person sees (step simplify);
  - with --min-group, groups of connected segments smaller than that are
    dropped.
Preparing a prepared map changes nothing.

LAYERS is a file name ending in .gpkg, .geojson, .fgb or .shp. It holds:
  segments       the clean segments, each with source_fid, the id of the
                 feature (OpenStreetMap way) it came from
  problems       a point for every change made and every thing left to check,
                 with type, status ("fixed" when a step changed it, "check"
                 when it is left for you), value and source_fid
  problem_lines  the same for the problems that are lines
The types: "unconnected end near another line" (value: the gap closed, or
the distance to the nearest line), "very short segment" (its length),
"duplicate" and "overlap" (the length dropped), "small separate group" (its
segments; every group but the largest), "self-crossing" (two segments of one
feature crossing without a shared vertex). A GeoPackage holds the three
layers with default QGIS styles, problems coloured by type; other formats
give NAME_segments.EXT, NAME_problems.EXT and NAME_problem_lines.EXT, each
with its style in a .qml file beside it. Existing files of those names are
replaced, only once all are written; files holding layers prepare does not
write, or the map being read, only with --overwrite.

Options:
  --out LAYERS        where the layers are written.
  --layer NAME        the layer of MAP to read, for a dataset of several.
)" + StreetOptionsHelp() +
           R"(  --overwrite         replace LAYERS even when it holds other layers or MAP.
  --quiet             print nothing but errors.
  --timings           print each stage's wall time and the peak memory so far.
  -h, --help          print this text.

Exit status: 0 when the layers were written; 1 when MAP cannot be read or
projected, nothing is left of it, or a file cannot be written; 2 when the
command line is wrong.
)";
}

int RunPrepareCommand(std::span<const std::string_view> words, Interruption& interruption) {
    const ParsedPrepare parsed = ParsePrepareArguments(words);
    return RunCommand(
        {.help = parsed.help,
         .helpText = parsed.help ? PrepareHelpText() : std::string(),
         .error = parsed.error,
         .helpCommand = "vantrel-cli prepare --help",
         .quiet = parsed.options.quiet,
         .timings = parsed.options.timings},
        [&](StageLog& log) { return RunPrepare(parsed.options, log, &interruption); });
}

} // namespace vantrel::cli

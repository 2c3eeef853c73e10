#include "cli/street_preparation.h"

#include "core/host/quoted_text.h"
#include "core/io/axial_line_reader.h"
#include "core/streets/preparation.h"
#include "gis/layer_reader.h"
#include "gis/street_source.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <map>

namespace vantrel::cli {

namespace {

// The steps --skip leaves out, each with its switch.
struct Step {
    std::string_view name;
    bool StreetOptions::*on;
};
constexpr Step kSteps[] = {{"duplicates", &StreetOptions::dropDuplicates},
                           {"overlaps", &StreetOptions::mergeOverlaps},
                           {"snap", &StreetOptions::snapEnds},
                           {"simplify", &StreetOptions::simplify}};

std::optional<double> Number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The items of a comma-separated list.
std::vector<std::string_view> Items(std::string_view list) {
    std::vector<std::string_view> items;
    for (std::size_t from = 0; from <= list.size();) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        items.push_back(list.substr(from, comma - from));
        from = comma + 1;
    }
    return items;
}

std::optional<std::string> ReadHighways(std::string_view list, StreetOptions& options) {
    for (const std::string_view item : Items(list)) {
        if (item == "all") {
            options.allHighways = true;
        } else if (gis::IsHighwayClass(item)) {
            options.highways.emplace_back(item);
        } else {
            return "--highways: " + QuotedValue(item) +
                   " is not a highway class (letters, digits, _ and :), nor all";
        }
    }
    return std::nullopt;
}

std::optional<std::string> ReadSkipped(std::string_view list, StreetOptions& options) {
    for (const std::string_view item : Items(list)) {
        const auto step = std::find_if(std::begin(kSteps), std::end(kSteps),
                                       [item](const Step& each) { return each.name == item; });
        if (step == std::end(kSteps))
            return "--skip: " + QuotedValue(item) +
                   " is no step; the steps are duplicates, overlaps, snap and simplify";
        options.*(step->on) = false;
    }
    return std::nullopt;
}

std::string LowerExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string Plural(long long count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string Shown(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

int FeatureCount(const std::vector<std::int64_t>& ids) {
    int count = 0;
    for (std::size_t at = 0; at < ids.size(); ++at)
        count += at == 0 || ids[at] != ids[at - 1];
    return count;
}

void NoteProjection(StageLog& log, const gis::ProjectedMap& map) {
    if (map.utmZone) {
        log.note("the map's coordinates are in degrees, in " + map.fromName +
                 "; they were projected to " + map.crsName +
                 ", the UTM zone of the map's centre, and the prepared map is in that system");
        constexpr double kZoneWidth = 6;
        if (map.degreesAcross > kZoneWidth)
            log.note("the map spans " + Shown(std::round(map.degreesAcross)) +
                     " degrees of longitude, more than a UTM zone's 6: lengths far from its "
                     "middle are stretched; --to-crs chooses another system");
    } else if (!map.fromName.empty()) {
        log.note("the map was projected from " + map.fromName + " to " + map.crsName +
                 ", as --to-crs asked");
    } else if (map.mayBeDegrees) {
        log.note("the map has no coordinate reference system, and its coordinates would fit "
                 "degrees of longitude and latitude; they are taken for metres. If they are "
                 "degrees, give the map its system first (ogr2ogr -a_srs EPSG:4326), so that it "
                 "is projected to metres");
    } else if (map.crsName.empty()) {
        log.note("the map has no coordinate reference system: its units are taken for metres");
    }
    if (map.metresPerUnit != 1)
        log.note("the map's unit is the " + map.unitName + " (" + Shown(map.metresPerUnit) +
                 " m): --snap and --check-distance are converted from metres");
}

void NoteSteps(StageLog& log, const streets::StreetCounts& counts, const StreetOptions& options) {
    log.note(Plural(counts.splitWays, "way runs", "ways run") + " through " +
             Plural(counts.splitVertices, "vertex", "vertices") + " shared with other pieces and " +
             (counts.splitWays == 1 ? "was" : "were") + " split there; " +
             Plural(counts.crossingsApart, "place where lines cross", "places where lines cross") +
             " without a shared vertex (bridges, tunnels) " +
             (counts.crossingsApart == 1 ? "is" : "are") + " kept apart");
    if (counts.skippedPieces > 0)
        log.note(Plural(counts.skippedPieces, "piece was", "pieces were") +
                 " left out, having a coordinate beyond 1e100 in size");
    if (options.dropDuplicates)
        log.note("dropped " + Plural(counts.zeroLength, "piece", "pieces") +
                 " of zero length and " +
                 Plural(counts.duplicates, "exact duplicate", "exact duplicates"));
    if (options.mergeOverlaps)
        log.note("merged " + Plural(counts.overlapSegments, "piece", "pieces") +
                 " lying along others on the same line, drawing " +
                 Plural(counts.overlapStretches, "stretch", "stretches") + " once");
    if (options.snapEnds)
        log.note("--snap " + Shown(options.snap) + " m: joined " +
                 Plural(counts.snappedToEnds, "unconnected end", "unconnected ends") +
                 " to end points and " + std::to_string(counts.snappedToLines) +
                 " to lines, splitting them, and " + Plural(counts.joinedOnLines, "end", "ends") +
                 " lying exactly on a line to it");
    if (options.simplify && options.simplifyAngle > 0)
        log.note("--simplify-angle " + Shown(options.simplifyAngle) + ": " +
                 Plural(counts.simplifiedPieces, "piece", "pieces") +
                 " through vertices of two pieces turning by less than " +
                 Shown(options.simplifyAngle) + " degrees became " +
                 Plural(counts.simplifiedSegments, "segment", "segments"));
    std::string skipped;
    for (const Step& step : kSteps)
        if (!(options.*(step.on)))
            skipped += (skipped.empty() ? "" : ", ") + std::string(step.name);
    if (!skipped.empty())
        log.note("--skip: left out " + skipped);
    if (options.minGroup > 0)
        log.note("--min-group " + std::to_string(options.minGroup) + ": dropped " +
                 Plural(counts.droppedGroups, "group", "groups") + " of " +
                 Plural(counts.droppedGroupSegments, "segment", "segments") + " in all");
}

void NoteResult(StageLog& log, const streets::PreparedStreets& prepared) {
    const streets::StreetCounts& counts = prepared.counts;
    log.note("prepared " +
             Plural(static_cast<long long>(prepared.segments.size()), "segment", "segments") +
             " in " + Plural(counts.groups, "group", "groups") + " (the largest of " +
             Plural(counts.largestGroup, "segment", "segments") + ")");
    std::map<streets::ProblemType, int> toCheck;
    for (const streets::Problem& problem : prepared.problems)
        if (!problem.fixed)
            ++toCheck[problem.type];
    if (toCheck.empty())
        return;
    std::string text;
    for (const auto& [type, count] : toCheck)
        text += (text.empty() ? "" : "; ") + std::string(streets::ProblemTypeName(type)) + ": " +
                std::to_string(count);
    log.note("left to check in the problems layer, by type: " + text);
}

} // namespace

bool IsStreetOption(std::string_view name) {
    return name == "--highways" || name == "--to-crs" || name == "--snap" ||
           name == "--simplify-angle" || name == "--min-group" || name == "--check-distance" ||
           name == "--skip";
}

std::optional<std::string> ReadStreetOption(std::string_view name, std::string_view value,
                                            StreetOptions& options) {
    if (name == "--highways")
        return ReadHighways(value, options);
    if (name == "--skip")
        return ReadSkipped(value, options);
    if (name == "--to-crs") {
        options.toCrs = std::string(value);
        return std::nullopt;
    }
    if (name == "--min-group") {
        int groups = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), groups);
        if (error != std::errc{} || end != value.data() + value.size() || groups < 0)
            return "--min-group needs a whole number of segments, 0 or more, not " +
                   QuotedValue(value);
        options.minGroup = groups;
        return std::nullopt;
    }
    const std::optional<double> number = Number(value);
    if (name == "--simplify-angle") {
        if (!number || *number < 0 || *number >= 180)
            return "--simplify-angle needs an angle in degrees from 0 to less than 180, not " +
                   QuotedValue(value);
        options.simplifyAngle = *number;
        return std::nullopt;
    }
    if (!number || *number < 0)
        return std::string(name) + " needs a distance in metres of 0 or more, not " +
               QuotedValue(value);
    (name == "--snap" ? options.snap : options.checkDistance) = *number;
    return std::nullopt;
}

std::optional<std::string> ReadStreetSource(const std::filesystem::path& file,
                                            const std::string& layer, const StreetOptions& options,
                                            StageLog& log, MapSource& source) {
    const bool osm = gis::IsOpenStreetMapFile(file);
    if ((!options.highways.empty() || options.allHighways) && !osm)
        return "--highways filters OpenStreetMap files (.osm, .pbf) only, not " + QuotedName(file);
    const std::string extension = LowerExtension(file);
    if (!osm && layer.empty() && (extension == ".txt" || extension == ".csv")) {
        std::optional<std::string> fault = io::ReadMapLinesFile(file, source.lines);
        if (!fault) {
            log.note("read " +
                     Plural(static_cast<long long>(source.lines.size()), "line", "lines"));
            return std::nullopt;
        }
        // A CSV file may still be a GIS layer, with a WKT column.
        if (extension != ".csv")
            return fault;
    }
    const std::string layerName = osm && layer.empty() ? std::string(gis::kOsmWaysLayer) : layer;
    std::string filter;
    if (osm && layerName == gis::kOsmWaysLayer) {
        std::vector<std::string> classes = options.highways;
        if (classes.empty() && !options.allHighways)
            for (const std::string_view name : gis::DefaultHighways())
                classes.emplace_back(name);
        filter = gis::HighwayFilter(options.allHighways ? std::vector<std::string>{} : classes);
    }
    gis::LayerReading reading =
        gis::ReadLayerLines(file, layerName, gis::LineSources::LineStrings, filter);
    if (!reading.layer)
        return reading.error;
    gis::LayerLines& read = *reading.layer;
    const int features = FeatureCount(read.featureIds);
    std::string what =
        osm ? (features == 1 ? "way" : "ways") : (features == 1 ? "feature" : "features");
    if (!filter.empty() && options.allHighways) {
        what += " with a highway tag";
    } else if (!filter.empty() && options.highways.empty()) {
        what += " of the default highway classes";
    } else if (!filter.empty()) {
        std::string classes;
        for (const std::string& name : options.highways)
            classes += (classes.empty() ? "" : ",") + name;
        what += " of the highway classes " + QuotedValue(classes);
    }
    log.note(
        "read " + std::to_string(features) + " " + what + " as " +
        Plural(static_cast<long long>(read.lines.size()), "straight piece", "straight pieces"));
    if (read.skippedFeatures > 0)
        log.note(Plural(read.skippedFeatures, "feature was", "features were") +
                 " skipped, holding no line (points, polygons, empty or null geometries)");
    source.lines = std::move(read.lines);
    source.featureIds = std::move(read.featureIds);
    source.crsWkt = std::move(read.crsWkt);
    return std::nullopt;
}

std::optional<std::string> PrepareMapSource(MapSource& source, const StreetOptions& options,
                                            StageLog& log,
                                            std::vector<streets::Problem>* problems) {
    log.begin("Projecting");
    gis::Projecting projecting = gis::ProjectLines(source.lines, source.crsWkt, options.toCrs);
    if (!projecting.map)
        return projecting.error;
    const gis::ProjectedMap& map = *projecting.map;
    NoteProjection(log, map);
    source.crsWkt = map.crsWkt;

    streets::StreetSettings settings;
    settings.dropDuplicates = options.dropDuplicates;
    settings.mergeOverlaps = options.mergeOverlaps;
    settings.snap = options.snapEnds;
    settings.snapDistance = options.snap / map.metresPerUnit;
    settings.simplifyAngle = options.simplify ? options.simplifyAngle : 0;
    settings.minGroup = options.minGroup;
    settings.checkDistance = options.checkDistance / map.metresPerUnit;
    Progress& progress = log.begin("Preparing streets");
    streets::PreparedStreets prepared =
        streets::PrepareStreets(source.lines, source.featureIds, settings, progress);
    NoteSteps(log, prepared.counts, options);
    if (prepared.segments.empty())
        return options.minGroup > 0 ? "--min-group " + std::to_string(options.minGroup) +
                                          " drops every group of the map"
                                    : std::string("no segment is left of the map");
    NoteResult(log, prepared);
    source.lines = std::move(prepared.segments);
    source.featureIds = std::move(prepared.sources);
    if (problems)
        *problems = std::move(prepared.problems);
    return std::nullopt;
}

std::string StreetOptionsHelp() {
    // The default classes in lines of the help's width, under the option's text.
    constexpr std::size_t kWidth = 78;
    const std::string indent(22, ' ');
    std::string classes = indent + "By default:";
    std::size_t lineStart = 0;
    const auto highways = gis::DefaultHighways();
    for (std::size_t at = 0; at < highways.size(); ++at) {
        const std::string word =
            std::string(highways[at]) + (at + 1 == highways.size() ? "." : ",");
        if (classes.size() - lineStart + 1 + word.size() > kWidth) {
            lineStart = classes.size() + 1;
            classes += "\n" + indent + word;
        } else {
            classes += " " + word;
        }
    }
    return R"(  --highways LIST     the OpenStreetMap highway classes to read, separated by
                      commas, or all for every way with a highway tag.
)" + classes +
           R"(
  --to-crs CRS        project the map to this system (EPSG:N, or anything GDAL
                      takes), which must be projected. By default a map in
                      degrees is projected to the UTM zone of its centre, and
                      a projected map stays in its system.
  --snap D            join every unconnected end within D metres of another
                      end point (first) or of another line, which is split
                      there. 0.1 by default; with 0, only ends lying exactly
                      on a line are joined to it.
  --simplify-angle A  replace each chain of pieces through vertices that join
                      only those two pieces and turn by less than A degrees by
                      one straight segment. 5 by default; 0 keeps every piece.
  --min-group N       drop every group of connected segments with fewer than N
                      segments. 0 by default: all are kept.
  --check-distance D  report unconnected ends within D metres of another line,
                      and segments shorter than D metres. 2 by default.
  --skip STEPS        leave out steps, separated by commas: duplicates (pieces
                      of zero length and exact duplicates), overlaps, snap,
                      simplify.
)";
}

} // namespace vantrel::cli

#include "cli/map_source.h"

#include "core/host/quoted_text.h"
#include "core/io/axial_line_reader.h"
#include "gis/layer_reader.h"

#include <algorithm>
#include <cctype>

namespace vantrel::cli {

namespace {

constexpr char kProjectAdvice[] =
    "project it to metres first, for example with ogr2ogr -t_srs EPSG:CODE projected.gpkg INPUT, "
    "CODE naming a projected system of the map's area (its UTM zone or national grid)";

std::string LowerExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

void NoteLayer(StageLog& log, const gis::LayerLines& layer) {
    if (layer.splitFeatures > 0)
        log.note(std::to_string(layer.splitFeatures) +
                 (layer.splitFeatures == 1 ? " feature of several straight pieces was"
                                           : " features of several straight pieces were") +
                 " split into " + std::to_string(layer.linesFromSplits) + " lines");
    if (layer.curvedFeatures > 0)
        log.note(
            std::to_string(layer.curvedFeatures) +
            (layer.curvedFeatures == 1 ? " feature with curves was"
                                       : " features with curves were") +
            " read as the straight pieces GDAL approximates the curves with, one line a piece");
    if (layer.skippedFeatures > 0)
        log.note(std::to_string(layer.skippedFeatures) +
                 (layer.skippedFeatures == 1 ? " feature was" : " features were") +
                 " skipped, holding no line (points, polygons, empty or null geometries)");
    if (!layer.damagedFeatures.empty())
        log.note(gis::DamagedFeaturesNote(layer.damagedFeatures));
    if (layer.geographic)
        log.note("the layer's coordinates are in degrees (" + layer.crsName +
                 "): which lines cross or touch is decided on them as they are, so lines that "
                 "only just meet may be related differently than on the same map in metres, and "
                 "line lengths are in degrees; " +
                 kProjectAdvice);
}

std::optional<std::string> ReadLayer(const AnalyseOptions& options, StageLog& log,
                                     MapSource& source) {
    gis::LayerReading reading = gis::ReadLayerLines(options.linesFile, options.layer);
    if (!reading.layer)
        return reading.error;
    // A distance in degrees is a different distance east-west and north-south, and one degree
    // is some hundred kilometres.
    if (reading.layer->geographic && options.tolerance > 0)
        return "--tolerance is a distance in the layer's units, and the layer " +
               QuotedValue(reading.layer->layerName) + " of " + QuotedName(options.linesFile) +
               " is in degrees (" + reading.layer->crsName + "); " + kProjectAdvice;
    NoteLayer(log, *reading.layer);
    source.lines = std::move(reading.layer->lines);
    source.featureIds = std::move(reading.layer->featureIds);
    source.crsWkt = std::move(reading.layer->crsWkt);
    return std::nullopt;
}

// A line of one point is no street; it stays, as the desktop keeps it, but the user is told.
void NoteZeroLengthLines(StageLog& log, const std::vector<MapLine>& lines) {
    const auto count = std::count_if(lines.begin(), lines.end(), [](const MapLine& line) {
        return line.x1 == line.x2 && line.y1 == line.y2;
    });
    if (count > 0)
        log.note(std::to_string(count) +
                 (count == 1 ? " line has zero length (its two ends are one point): it is kept as "
                               "an axial line"
                             : " lines have zero length (their two ends are one point): they are "
                               "kept as axial lines") +
                 ", related only to lines that pass through that point");
}

std::optional<std::string> ReadLines(const AnalyseOptions& options, StageLog& log,
                                     MapSource& source) {
    const std::string extension = LowerExtension(options.linesFile);
    if (!options.layer.empty() || (extension != ".txt" && extension != ".csv"))
        return ReadLayer(options, log, source);
    std::optional<std::string> fault = io::ReadMapLinesFile(options.linesFile, source.lines);
    if (fault && extension == ".csv" && !ReadLayer(options, log, source))
        return std::nullopt;
    return fault;
}

} // namespace

std::optional<std::string> ReadMapSource(const AnalyseOptions& options, StageLog& log,
                                         MapSource& source) {
    if (auto fault = ReadLines(options, log, source))
        return fault;
    NoteZeroLengthLines(log, source.lines);
    return std::nullopt;
}

} // namespace vantrel::cli

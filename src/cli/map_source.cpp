#include "cli/map_source.h"

#include "core/io/axial_line_reader.h"
#include "gis/layer_reader.h"

#include <algorithm>
#include <cctype>

namespace vantrel::cli {

namespace {

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
    if (layer.skippedFeatures > 0)
        log.note(std::to_string(layer.skippedFeatures) +
                 (layer.skippedFeatures == 1 ? " feature was" : " features were") +
                 " skipped, holding no line (points, polygons, empty or null geometries)");
    if (!layer.damagedFeatures.empty())
        log.note(gis::DamagedFeaturesNote(layer.damagedFeatures));
    if (layer.geographic)
        log.note("the layer's coordinates are in degrees (" + layer.crsName +
                 "): depths and integration are as good as in metres, but line lengths are in "
                 "degrees");
}

std::optional<std::string> ReadLayer(const AnalyseOptions& options, StageLog& log,
                                     MapSource& source) {
    gis::LayerReading reading = gis::ReadLayerLines(options.linesFile, options.layer);
    if (!reading.layer)
        return reading.error;
    NoteLayer(log, *reading.layer);
    source.lines = std::move(reading.layer->lines);
    source.featureIds = std::move(reading.layer->featureIds);
    source.crsWkt = std::move(reading.layer->crsWkt);
    return std::nullopt;
}

} // namespace

std::optional<std::string> ReadMapSource(const AnalyseOptions& options, StageLog& log,
                                         MapSource& source) {
    const std::string extension = LowerExtension(options.linesFile);
    if (!options.layer.empty() || (extension != ".txt" && extension != ".csv"))
        return ReadLayer(options, log, source);
    std::optional<std::string> fault = io::ReadMapLinesFile(options.linesFile, source.lines);
    if (fault && extension == ".csv" && !ReadLayer(options, log, source))
        return std::nullopt;
    return fault;
}

} // namespace vantrel::cli

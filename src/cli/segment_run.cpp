#include "cli/segment_run.h"

#include "cli/command_run.h"
#include "cli/layer_output.h"
#include "cli/map_source.h"
#include "cli/output_folder.h"
#include "cli/process_checks.h"
#include "core/geometry/intersections.h"
#include "core/segment/segment_building.h"
#include "core/segment/segment_columns.h"
#include "gis/line_layer.h"
#include "gis/result_files.h"
#include "gis/result_layers.h"

#include <algorithm>
#include <stdexcept>

namespace vantrel::cli {
namespace {

using segment::SegmentMap;

std::string Counted(long long count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

SegmentMap MakeAxialSegments(const SegmentOptions& options, StageLog& log,
                             const std::vector<MapLine>& lines) {
    geometry::NearJunctions found =
        geometry::FindJunctionsWithin(lines, options.tolerance, log.begin("Finding junctions"));
    if (options.tolerance > 0)
        log.note("--tolerance related " + Counted(found.nearOnly, "pair", "pairs") +
                 " of lines that neither cross nor touch");
    log.begin("Making segments");
    return segment::SegmentsFromAxialLines(lines, found.junctions, options.stubPercent);
}

SegmentMap MakeRoadSegments(const SegmentOptions& options, StageLog& log,
                            const std::vector<MapLine>& lines) {
    log.begin("Making segments");
    segment::RoadCentreLines roads = segment::SegmentsFromRoadCentreLines(lines, options.tolerance);
    if (roads.zeroLength > 0)
        log.note(Counted(roads.zeroLength, "piece", "pieces") +
                 (options.tolerance > 0 ? " of zero length or shorter than --tolerance"
                                        : " of zero length") +
                 (roads.zeroLength == 1 ? " was" : " were") + " left out");
    if (roads.repeated > 0)
        log.note(Counted(roads.repeated, "piece", "pieces") +
                 " with the same end points as an earlier one " +
                 (roads.repeated == 1 ? "was" : "were") + " left out");
    return std::move(roads.map);
}

// Segments that meet no other, and separate groups, are usually faults of the drawing.
void NoteGroups(StageLog& log, const SegmentMap& map, std::size_t lineCount) {
    log.note(Counted(map.segmentCount(), "segment", "segments") + " from " +
             Counted(static_cast<long long>(lineCount), "line", "lines"));
    const segment::SegmentGroups groups = segment::GroupsOf(map);
    if (groups.isolated > 0)
        log.note(Counted(groups.isolated, "segment meets", "segments meet") + " no other");
    if (groups.groups > 1)
        log.note("the other segments form " + std::to_string(groups.groups) +
                 " separate groups, the largest of " + std::to_string(groups.largest));
}

std::string_view StageName(segment::DepthKind depth) {
    switch (depth) {
    case segment::DepthKind::Metric:
        return "Metric analysis";
    case segment::DepthKind::Topological:
        return "Topological analysis";
    case segment::DepthKind::Angular:
        break;
    }
    return "Angular analysis";
}

} // namespace

std::optional<std::string> RunSegmentAnalysis(const SegmentOptions& options, StageLog& log,
                                              Interruption* interruption, RunProcesses* processes) {
    LoneProcess alone;
    RunProcesses& run = processes ? *processes : alone;
    log.begin("Reading lines");
    AnalyseOptions reading;
    reading.linesFile = options.mapFile;
    reading.layer = options.layer;
    MapSource source;
    if (auto fault = run.agree(options.prepare ? ReadStreetSource(options.mapFile, options.layer,
                                                                  options.streets, log, source)
                                               : ReadMapSource(reading, log, source)))
        return fault;

    std::optional<LayerOutput> layers;
    std::optional<OutputFolder> folder;
    static constexpr std::string_view kOwnFiles[] = {kSegmentMeasuresFile};
    InputFiles inputs(gis::DatasetFiles(options.mapFile));
    std::optional<std::string> placeFault;
    if (run.leads() && gis::IsLayerFileName(options.output)) {
        const std::string suffix = gis::ResultFormatOf(options.output)->layerSuffix;
        layers.emplace(options.output, std::vector<std::string>{kSegmentLayer + suffix},
                       options.overwrite, std::move(inputs));
        placeFault = layers->prepare();
    } else if (run.leads()) {
        folder.emplace(options.output, kOwnFiles, options.overwrite, std::move(inputs));
        placeFault = folder->prepare();
    }
    if (auto fault = run.agree(std::move(placeFault)))
        return fault;
    const Interruption::Guard discardOnInterrupt = interruption ? interruption->onInterrupt([&] {
        if (layers)
            layers->discard();
        else if (folder)
            folder->discard();
        NoteStoppedRun(log, run, options.output);
    })
                                                                : Interruption::Guard(nullptr);

    // Cleaned as `prepare` cleans: straight segments meeting only at shared end points, in metres.
    if (options.prepare)
        if (auto fault = run.agree(PrepareMapSource(source, options.streets, log)))
            return fault;

    const SegmentMap map = options.roadCentreLines ? MakeRoadSegments(options, log, source.lines)
                                                   : MakeAxialSegments(options, log, source.lines);
    NoteGroups(log, map, source.lines.size());
    if (auto fault = CheckSameMap(run, {map.segmentCount()}))
        return fault;

    segment::SegmentAnalysisOptions analysis = options.analysis;
    analysis.progress = &log.begin(StageName(analysis.depth));
    analysis.sharing = run.sharing();
    const std::vector<segment::RadiusResults> results = segment::AnalyseSegments(map, analysis);

    log.begin("Writing files");
    // Road-centre lines are known by their features, axial lines by their numbers.
    segment::SegmentTable table{
        .map = map,
        .radii = results,
        .sourceNumbers = options.roadCentreLines ? std::span<const std::int64_t>(source.featureIds)
                                                 : std::span<const std::int64_t>(),
        .sourceFeatureIds = source.featureIds,
        .coordinates = !layers};
    std::optional<std::string> fault;
    if (layers) {
        std::vector<MapLine> lines;
        lines.reserve(static_cast<std::size_t>(map.segmentCount()));
        for (const segment::Segment& each : map.segments())
            lines.push_back(each.line);
        const bool choice = analysis.choice;
        // Radius n when asked for, else the first radius.
        const bool hasN = std::find(analysis.radii.begin(), analysis.radii.end(),
                                    segment::kRadiusN) != analysis.radii.end();
        const std::string styled =
            std::string(choice ? "nach" : "nain") +
            segment::RadiusSuffix(hasN ? segment::kRadiusN : analysis.radii.front());
        const gis::LineLayer layer{.name = kSegmentLayer,
                                   .lines = lines,
                                   .crsWkt = source.crsWkt,
                                   .columns = segment::SegmentColumns(table),
                                   .styledColumn = styled,
                                   .styleDescription = std::string(choice ? "NACH" : "NAIN") +
                                                       ", red (high) to blue (low), equal counts"};
        fault = layers->write(
            [&](const std::filesystem::path& staging, const std::filesystem::path& target) {
                return gis::WriteLineLayer(staging, target, layer);
            });
        if (!fault)
            fault = layers->commit();
    } else if (folder) {
        fault = folder->write(kSegmentMeasuresFile, [&](std::ostream& out) {
            segment::WriteSegmentMeasures(out, table);
        });
        if (!fault)
            fault = folder->commit();
    }
    if (auto agreed = run.agree(std::move(fault)))
        return agreed;
    log.finish();
    return std::nullopt;
}

int RunSegmentCommand(std::span<const std::string_view> arguments, int defaultThreads,
                      Interruption& interruption, RunProcesses& processes) {
    const ParsedSegmentArguments parsed = ParseSegmentArguments(arguments, defaultThreads);
    return RunCommand({.help = parsed.help,
                       .helpText = parsed.help ? SegmentHelpText(defaultThreads) : std::string(),
                       .error = parsed.error,
                       .faultPrefix = "vantrel-cli segment: ",
                       .helpCommand = "vantrel-cli segment --help",
                       .quiet = parsed.options.quiet,
                       .timings = parsed.options.timings,
                       .processes = &processes},
                      [&](StageLog& log) {
                          return RunSegmentAnalysis(parsed.options, log, &interruption, &processes);
                      });
}

} // namespace vantrel::cli

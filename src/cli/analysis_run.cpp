#include "cli/analysis_run.h"

#include "cli/layer_output.h"
#include "cli/map_source.h"
#include "cli/output_folder.h"
#include "cli/process_checks.h"
#include "gis/result_files.h"
#include "gis/result_layers.h"

#include "core/analysis/choice.h"
#include "core/analysis/depths.h"
#include "core/analysis/groups.h"
#include "core/analysis/map_graph.h"
#include "core/export/measures_csv.h"
#include "core/export/text_exports.h"
#include "core/geometry/intersections.h"
#include "core/host/quoted_text.h"

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace vantrel::cli {
namespace {

using analysis::ItemMeasures;

ItemMeasures MeasureLines(StageLog& log, const analysis::MapGraph& graph,
                          std::span<const MapLine> lines, const AnalyseOptions& options,
                          analysis::UnitSharing* sharing) {
    Progress& progress = log.begin("Axial depths");
    const analysis::DepthResult depths = analysis::ComputeLineDepths(
        graph, {.threads = options.threads, .progress = &progress, .sharing = sharing});
    return analysis::MeasureLines(
        graph, depths, lines,
        {.radii = options.radii,
         .choice = options.choice,
         .threads = options.threads,
         .choiceProgress = options.choice ? &log.begin("Axial choice") : nullptr,
         .sharing = sharing});
}

ItemMeasures MeasureJunctions(StageLog& log, const analysis::MapGraph& graph,
                              const AnalyseOptions& options, analysis::UnitSharing* sharing) {
    Progress& progress = log.begin("Junction depths");
    const analysis::DepthResult depths = analysis::ComputeJunctionDepths(
        graph, {.threads = options.threads, .progress = &progress, .sharing = sharing});
    return analysis::MeasureJunctions(
        graph, depths,
        {.radii = options.radii,
         .choice = options.choice,
         .threads = options.threads,
         .choiceProgress = options.choice ? &log.begin("Junction choice") : nullptr,
         .sharing = sharing});
}

std::string Duration(double seconds) {
    if (seconds < 120)
        return std::to_string(std::lround(seconds)) + " seconds";
    if (seconds < 7200)
        return std::to_string(std::lround(seconds / 60)) + " minutes";
    return std::to_string(std::lround(seconds / 3600)) + " hours";
}

// Many crossings among few lines make the dual analysis far longer than the primal one, which a
// user may not expect from a small file.
void NoteLongDualAnalysis(StageLog& log, const analysis::MapGraph& graph,
                          const AnalyseOptions& options, int processes) {
    const int threads = options.threads * processes;
    double seconds = analysis::EstimateJunctionDepthsTime(graph, threads).count();
    if (options.choice)
        seconds += analysis::EstimateJunctionChoiceTime(graph, threads).count();
    if (seconds < options.longDualSeconds)
        return;
    log.note("the dual analysis of " + std::to_string(graph.junctionCount()) +
             " junctions will take about " + Duration(seconds) + " on " + std::to_string(threads) +
             (threads == 1 ? " thread" : " threads") + "; --analysis primal leaves it out");
}

// The desktop warns of every line that reaches no other; here one note lists the first few.
void NoteDisconnectedLines(StageLog& log, const ItemMeasures& measures) {
    constexpr int kListed = 10;
    std::vector<int> numbers;
    for (int index = 0; index < measures.itemCount(); ++index) {
        if (measures.reached[index] == 0)
            numbers.push_back(index + 1);
    }
    if (numbers.empty())
        return;
    std::string text = std::to_string(numbers.size()) +
                       (numbers.size() == 1 ? " line reaches" : " lines reach") + " no other line:";
    for (std::size_t listed = 0; listed < numbers.size() && listed < kListed; ++listed)
        text += (listed == 0 ? " " : ", ") + std::to_string(numbers[listed]);
    if (numbers.size() > kListed)
        text += ", ...";
    log.note(text);
}

// As the desktop warns: normalising over separate groups lets a small group take the top values.
void NoteSeparateGroups(StageLog& log, const ItemMeasures& measures, const char* items) {
    const int groups = analysis::GroupCount(measures.reached);
    if (groups < 2)
        return;
    log.note(std::string("the ") + items + " fall into " + std::to_string(groups) +
             " separate groups, the largest of " +
             std::to_string(analysis::LargestGroupSize(measures.reached)) + " " + items +
             "; integration is normalised over all of them together, not group by group "
             "(integration_hh is each item's own)");
}

struct Output {
    std::string_view name;
    std::function<void(std::ostream&)> write;
};

struct Results {
    MapSource source;
    std::vector<MapJunction> junctions;
    std::optional<ItemMeasures> axial;
    std::optional<ItemMeasures> dual;
};

// The run's results as the text exports and measures files of a folder.
std::optional<std::string> WriteTextFiles(OutputFolder& folder, StageLog& log,
                                          const AnalyseOptions& options, const Results& results) {
    const std::vector<MapLine>& lines = results.source.lines;
    const std::vector<MapJunction>& junctions = results.junctions;
    const int lineCount = static_cast<int>(lines.size());
    const std::optional<ItemMeasures>& axial = results.axial;
    const std::optional<ItemMeasures>& dual = results.dual;
    std::vector<Output> outputs;
    outputs.push_back(
        {kAxialLinesFile, [&](std::ostream& out) { exports::WriteAxialLines(out, lines); }});
    outputs.push_back(
        {kJunctionsFile, [&](std::ostream& out) { exports::WriteJunctions(out, junctions); }});
    const long long matrixRows = static_cast<long long>(lineCount) * junctions.size();
    if (matrixRows <= options.dataMatrixRowLimit) {
        outputs.push_back({kDataMatrixFile, [&](std::ostream& out) {
                               exports::WriteDataMatrix(out, lineCount, junctions);
                           }});
    } else {
        log.note(std::string(kDataMatrixFile) + " is not written: " + std::to_string(lineCount) +
                 " lines by " + std::to_string(junctions.size()) + " junctions make " +
                 std::to_string(matrixRows) + " rows, more than " +
                 std::to_string(options.dataMatrixRowLimit) + "; " + std::string(kJunctionsFile) +
                 " holds the same connections, and --full-data-matrix writes it");
    }
    if (axial) {
        outputs.push_back({kAxialIntegrationFile, [&](std::ostream& out) {
                               exports::WriteLineIntegration(out, lineCount, axial->integration);
                           }});
        outputs.push_back(
            {kAxialMeasuresFile, [&](std::ostream& out) { exports::WriteMeasures(out, *axial); }});
    }
    if (dual) {
        outputs.push_back({kJunctionIntegrationFile, [&](std::ostream& out) {
                               exports::WriteJunctionIntegration(out, dual->itemCount(),
                                                                 dual->integration);
                           }});
        outputs.push_back({kJunctionMeasuresFile,
                           [&](std::ostream& out) { exports::WriteMeasures(out, *dual); }});
    }
    for (const Output& output : outputs) {
        if (auto fault = folder.write(output.name, output.write))
            return fault;
    }
    return folder.commit();
}

std::optional<std::string> WriteLayers(LayerOutput& layers, StageLog& log, const Results& results) {
    const std::optional<ItemMeasures>& axial = results.axial;
    const std::optional<ItemMeasures>& dual = results.dual;
    if (auto fault = layers.write({.lines = results.source.lines,
                                   .featureIds = results.source.featureIds,
                                   .crsWkt = results.source.crsWkt,
                                   .junctions = results.junctions,
                                   .axial = axial ? &*axial : nullptr,
                                   .dual = dual ? &*dual : nullptr,
                                   .note = [&log](const std::string& text) { log.note(text); }}))
        return fault;
    return layers.commit();
}

} // namespace

std::optional<std::string> RunAnalysis(const AnalyseOptions& options, StageLog& log,
                                       Interruption* interruption, RunProcesses* processes) {
    LoneProcess alone;
    RunProcesses& run = processes ? *processes : alone;
    log.begin("Reading lines");
    Results results;
    if (auto fault = run.agree(ReadMapSource(options, log, results.source)))
        return fault;
    const std::vector<MapLine>& lines = results.source.lines;

    // Results go to a GIS file or to a folder of text files; either is made ready before the
    // analysis, so that a place that cannot be written is reported at once.
    std::optional<LayerOutput> layers;
    std::optional<OutputFolder> folder;
    std::optional<std::string> placeFault;
    InputFiles inputs(gis::DatasetFiles(options.linesFile));
    if (run.leads() && gis::IsLayerFileName(options.outputFolder)) {
        layers.emplace(options.outputFolder, gis::AnalysisLayerNames(options.outputFolder),
                       options.overwrite, std::move(inputs));
        placeFault = layers->prepare();
    } else if (run.leads()) {
        folder.emplace(options.outputFolder, kOutputFiles, options.overwrite, std::move(inputs));
        placeFault = folder->prepare();
    }
    if (auto fault = run.agree(std::move(placeFault)))
        return fault;
    const auto discard = [&] {
        if (layers)
            layers->discard();
        else if (folder)
            folder->discard();
        NoteStoppedRun(log, run, options.outputFolder);
    };
    const Interruption::Guard discardOnInterrupt =
        interruption ? interruption->onInterrupt(discard) : Interruption::Guard(nullptr);

    geometry::NearJunctions found =
        geometry::FindJunctionsWithin(lines, options.tolerance, log.begin("Finding junctions"));
    results.junctions = std::move(found.junctions);
    if (auto fault = CheckSameMap(run, {static_cast<long long>(lines.size()),
                                        static_cast<long long>(results.junctions.size())}))
        return fault;
    if (options.tolerance > 0)
        log.note("--tolerance related " + std::to_string(found.nearOnly) +
                 (found.nearOnly == 1 ? " pair" : " pairs") +
                 " of lines that neither cross nor touch");
    const analysis::MapGraph graph(static_cast<int>(lines.size()), results.junctions);
    if (options.analyses != Analyses::Primal)
        NoteLongDualAnalysis(log, graph, options, run.count());
    if (options.analyses != Analyses::Dual) {
        results.axial = MeasureLines(log, graph, lines, options, run.sharing());
        NoteDisconnectedLines(log, *results.axial);
        NoteSeparateGroups(log, *results.axial, "lines");
    }
    if (options.analyses != Analyses::Primal) {
        results.dual = MeasureJunctions(log, graph, options, run.sharing());
        NoteSeparateGroups(log, *results.dual, "junctions");
    }

    log.begin("Writing files");
    std::optional<std::string> writeFault;
    if (layers)
        writeFault = WriteLayers(*layers, log, results);
    else if (folder)
        writeFault = WriteTextFiles(*folder, log, options, results);
    if (auto fault = run.agree(std::move(writeFault)))
        return fault;
    log.finish();
    return std::nullopt;
}

} // namespace vantrel::cli

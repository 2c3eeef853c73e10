#include "cli/analysis_run.h"

#include "cli/map_source.h"
#include "cli/output_folder.h"

#include "core/analysis/depths.h"
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
                          std::span<const AxialLine> lines, const AnalyseOptions& options) {
    Progress& progress = log.begin("Axial depths");
    const analysis::DepthResult depths = analysis::ComputeLineDepths(
        graph, {.fullMatrix = false, .threads = options.threads, .progress = &progress});
    return analysis::MeasureLines(
        graph, depths, lines,
        {.radii = options.radii,
         .choice = options.choice,
         .threads = options.threads,
         .choiceProgress = options.choice ? &log.begin("Axial choice") : nullptr});
}

ItemMeasures MeasureJunctions(StageLog& log, const analysis::MapGraph& graph,
                              const AnalyseOptions& options) {
    Progress& progress = log.begin("Junction depths");
    const analysis::DepthResult depths = analysis::ComputeJunctionDepths(
        graph, {.fullMatrix = false, .threads = options.threads, .progress = &progress});
    return analysis::MeasureJunctions(
        graph, depths,
        {.radii = options.radii,
         .choice = options.choice,
         .threads = options.threads,
         .choiceProgress = options.choice ? &log.begin("Junction choice") : nullptr});
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
                          const AnalyseOptions& options) {
    const double seconds = analysis::EstimateJunctionDepthsTime(graph, options.threads).count();
    if (seconds < options.longDualSeconds)
        return;
    log.note("the dual analysis of " + std::to_string(graph.junctionCount()) +
             " junctions will take about " + Duration(seconds) + " on " +
             std::to_string(options.threads) + (options.threads == 1 ? " thread" : " threads") +
             "; --analysis primal leaves it out");
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

struct Output {
    std::string_view name;
    std::function<void(std::ostream&)> write;
};

} // namespace

std::optional<std::string> RunAnalysis(const AnalyseOptions& options, StageLog& log,
                                       Interruption* interruption) {
    log.begin("Reading lines");
    MapSource source;
    if (auto fault = ReadMapSource(options, log, source))
        return fault;
    const std::vector<AxialLine>& lines = source.lines;
    OutputFolder folder(options.outputFolder, kOutputFiles, options.overwrite);
    if (auto fault = folder.prepare())
        return fault;
    const Interruption::Guard discardOnInterrupt =
        interruption ? interruption->onInterrupt([&folder] { folder.discard(); })
                     : Interruption::Guard(nullptr);
    const int lineCount = static_cast<int>(lines.size());

    const std::vector<MapJunction> junctions =
        geometry::FindAllJunctions(lines, log.begin("Finding junctions"));
    const analysis::MapGraph graph(lineCount, junctions);
    if (options.analyses != Analyses::Primal)
        NoteLongDualAnalysis(log, graph, options);

    std::optional<ItemMeasures> axial;
    std::optional<ItemMeasures> dual;
    if (options.analyses != Analyses::Dual) {
        axial = MeasureLines(log, graph, lines, options);
        NoteDisconnectedLines(log, *axial);
    }
    if (options.analyses != Analyses::Primal)
        dual = MeasureJunctions(log, graph, options);

    log.begin("Writing files");
    std::vector<Output> outputs;
    outputs.push_back(
        {kAxialLinesFile, [&](std::ostream& out) { exports::WriteAxialLines(out, lines); }});
    outputs.push_back(
        {kJunctionsFile, [&](std::ostream& out) { exports::WriteJunctions(out, junctions); }});
    const long long matrixRows = static_cast<long long>(lineCount) * graph.junctionCount();
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
    if (auto fault = folder.commit())
        return fault;
    log.finish();
    return std::nullopt;
}

} // namespace vantrel::cli

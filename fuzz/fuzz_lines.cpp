// libFuzzer target: any bytes as a lines file, and whatever reads cleanly through the junction
// search, both analyses, every standard measure with choice, and the measures files. Each input
// has seconds and a few hundred megabytes: lines that make the search grow without bound fail.
#include "core/analysis/depths.h"
#include "core/analysis/item_measures.h"
#include "core/analysis/map_graph.h"
#include "core/export/measures_csv.h"
#include "core/export/text_exports.h"
#include "core/geometry/intersections.h"
#include "core/io/axial_line_reader.h"
#include "fuzz_limits.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

namespace {

using namespace vantrel;

// Small enough that every input runs in milliseconds.
constexpr std::size_t kFuzzedLines = 400;
constexpr std::size_t kFuzzedJunctions = 4000;
const analysis::MeasureRadius kRadii[] = {{3}, {}};

// Takes whatever is written and keeps none of it: the writers run in full without the
// megabytes a data matrix of 400 lines by 4000 junctions would hold.
class DiscardingBuffer final : public std::streambuf {
protected:
    int_type overflow(int_type character) override { return traits_type::not_eof(character); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

void MeasureAndWrite(const analysis::ItemMeasures& measures) {
    DiscardingBuffer discarded;
    std::ostream out(&discarded);
    exports::WriteMeasures(out, measures);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vantrel::fuzzing::AddLimits(
        argc, argv, {.seconds = 10, .residentMegabytes = 512, .allocationMegabytes = 128});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const io::MapLineReadResult read = io::ReadMapLines(in);
    if (read.error || read.lines.size() > kFuzzedLines)
        return 0;
    const std::vector<MapJunction> junctions = geometry::FindAllJunctions(read.lines);
    if (junctions.size() > kFuzzedJunctions)
        return 0;
    const int lineCount = static_cast<int>(read.lines.size());
    const analysis::MapGraph graph(lineCount, junctions);
    const analysis::MeasureOptions options{.radii = kRadii, .choice = true};
    MeasureAndWrite(
        analysis::MeasureLines(graph, analysis::ComputeLineDepths(graph), read.lines, options));
    MeasureAndWrite(
        analysis::MeasureJunctions(graph, analysis::ComputeJunctionDepths(graph), options));
    DiscardingBuffer discarded;
    std::ostream out(&discarded);
    exports::WriteAxialLines(out, read.lines);
    exports::WriteJunctions(out, junctions);
    exports::WriteDataMatrix(out, lineCount, junctions);
    return 0;
}

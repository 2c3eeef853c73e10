#include "core/export/text_exports.h"

#include "core/export/records.h"
#include "core/host/number_text.h"

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel::exports {

namespace {

constexpr std::string_view kNormalisedNote =
    "Access and Integration Values are Normalised from 0 (Lowest) to 1 (Highest)";

void WriteTitle(RecordWriter& records, std::string_view title) {
    records.field(title).end();
    records.emptyRecord();
}

long long LineNumberOf(float storedNumber) {
    return RoundHalfEven(storedNumber);
}

long long LineNumberOf(std::int32_t number) {
    return number;
}

void WriteValueRows(RecordWriter& records, int count, std::span<const float> values) {
    for (int index = 0; index < count; ++index) {
        const auto position = static_cast<std::size_t>(index);
        const float value = position < values.size() ? values[position] : 0.0f;
        records.field(index + 1).field(value).end();
    }
}

RecordWriter AxialLinesHeading(std::ostream& out) {
    RecordWriter records(out);
    WriteTitle(records, "Number and Position of Axial Lines");
    records.field("Line Number")
        .field("Start X Coord")
        .field("Start Y Coord")
        .field("End X Coord")
        .field("End Y Coord")
        .end();
    records.emptyRecord();
    return records;
}

template <class Row> void WriteJunctionRows(std::ostream& out, std::span<const Row> junctions) {
    RecordWriter records(out);
    WriteTitle(records, "Number and Position of Junctions/Nodes");
    records.field("Junction Number")
        .field("First Intersecting Line")
        .field("Second Intersecting Line")
        .field("X Coord")
        .field("Y Coord")
        .end();
    records.emptyRecord();
    long long number = 1;
    for (const Row& junction : junctions) {
        records.field(number++)
            .field(LineNumberOf(junction.firstLine))
            .field(LineNumberOf(junction.secondLine))
            .field(static_cast<float>(junction.x))
            .field(static_cast<float>(junction.y))
            .end();
    }
}

template <class Row>
void WriteDataMatrixRows(std::ostream& out, int lineCount, std::span<const Row> junctions) {
    RecordWriter records(out);
    WriteTitle(records, "Data Matrix: 1 is Connected, 0 is Not Connected");
    // The first column holds the line and the second the junction, though the heading has
    // always named them the other way round; readers of these files rely on the heading as is.
    records.field("Junction Number").field("Line Number").field("Connectivity").end();
    records.emptyRecord();

    std::vector<std::pair<long long, long long>> linesOfJunction;
    linesOfJunction.reserve(junctions.size());
    for (const Row& junction : junctions)
        linesOfJunction.emplace_back(LineNumberOf(junction.firstLine),
                                     LineNumberOf(junction.secondLine));

    for (long long line = 1; line <= lineCount; ++line) {
        long long junction = 1;
        for (const auto& [first, second] : linesOfJunction) {
            const int connected = first == line || second == line ? 1 : 0;
            records.field(line).field(junction++).field(connected).end();
        }
    }
}

} // namespace

void WriteAxialLines(std::ostream& out, std::span<const AxialLine> lines) {
    RecordWriter records = AxialLinesHeading(out);
    long long number = 1;
    for (const AxialLine& line : lines)
        records.field(number++).field(line.x1).field(line.y1).field(line.x2).field(line.y2).end();
}

void WriteAxialLines(std::ostream& out, std::span<const MapLine> lines) {
    RecordWriter records = AxialLinesHeading(out);
    long long number = 1;
    for (const MapLine& line : lines) {
        records.field(number++)
            .wideField(line.x1)
            .wideField(line.y1)
            .wideField(line.x2)
            .wideField(line.y2)
            .end();
    }
}

void WriteJunctions(std::ostream& out, std::span<const Junction> junctions) {
    WriteJunctionRows(out, junctions);
}

void WriteJunctions(std::ostream& out, std::span<const MapJunction> junctions) {
    WriteJunctionRows(out, junctions);
}

void WriteDataMatrix(std::ostream& out, int lineCount, std::span<const Junction> junctions) {
    WriteDataMatrixRows(out, lineCount, junctions);
}

void WriteDataMatrix(std::ostream& out, int lineCount, std::span<const MapJunction> junctions) {
    WriteDataMatrixRows(out, lineCount, junctions);
}

void WriteLineIntegration(std::ostream& out, int lineCount, std::span<const float> values) {
    RecordWriter records(out);
    WriteTitle(records, "Accessibility or Integration Values of the Axial Lines");
    WriteTitle(records, kNormalisedNote);
    records.field("Line Number").field("Access/Integration Value").end();
    records.emptyRecord();
    WriteValueRows(records, lineCount, values);
}

void WriteJunctionIntegration(std::ostream& out, int junctionCount, std::span<const float> values) {
    RecordWriter records(out);
    WriteTitle(records, "Accessibility or Integration Values of the Junctions/Nodes");
    WriteTitle(records, kNormalisedNote);
    records.field("Junction/Node Number").field("Access/Integration Value").end();
    records.emptyRecord();
    WriteValueRows(records, junctionCount, values);
}

} // namespace vantrel::exports

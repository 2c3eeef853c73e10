#include "core/geometry/incidence.h"

#include "core/host/number_text.h"

#include <cmath>
#include <stdexcept>

namespace vantrel::geometry {

namespace {

// Junctions keep line numbers as floats; a line number is rounded to the nearest whole number.
int LineIndexOf(float lineNumber, int lineCount) {
    const bool inRange = std::isfinite(lineNumber) && std::fabs(lineNumber) <= 1e9f &&
                         RoundHalfEven(lineNumber) >= 1 && RoundHalfEven(lineNumber) <= lineCount;
    if (!inRange)
        throw std::out_of_range("a junction names a line that does not exist");
    return static_cast<int>(RoundHalfEven(lineNumber)) - 1;
}

std::array<int, 2> LinesOf(const Junction& junction, int lineCount) {
    return {LineIndexOf(junction.firstLine, lineCount),
            LineIndexOf(junction.secondLine, lineCount)};
}

} // namespace

std::span<const int> Incidence::junctionsOf(int lineIndex) const {
    return std::span(lineJunctions)
        .subspan(lineOffsets[lineIndex], lineOffsets[lineIndex + 1] - lineOffsets[lineIndex]);
}

Incidence BuildIncidence(int lineCount, const std::vector<Junction>& junctions) {
    Incidence incidence;
    incidence.lineCount = lineCount;
    incidence.junctionCount = static_cast<int>(junctions.size());
    incidence.junctionLines.reserve(junctions.size());
    incidence.lineOffsets.assign(lineCount + 1, 0);
    for (const Junction& junction : junctions) {
        const auto lines = LinesOf(junction, lineCount);
        incidence.junctionLines.push_back(lines);
        ++incidence.lineOffsets[lines[0] + 1];
        if (lines[1] != lines[0])
            ++incidence.lineOffsets[lines[1] + 1];
    }
    for (int line = 0; line < lineCount; ++line)
        incidence.lineOffsets[line + 1] += incidence.lineOffsets[line];

    // Filling in junction order keeps each line's junctions ascending.
    incidence.lineJunctions.resize(incidence.lineOffsets.back());
    std::vector<int> next(incidence.lineOffsets.begin(), incidence.lineOffsets.end() - 1);
    for (int junction = 0; junction < incidence.junctionCount; ++junction) {
        const auto lines = incidence.junctionLines[junction];
        incidence.lineJunctions[next[lines[0]]++] = junction;
        if (lines[1] != lines[0])
            incidence.lineJunctions[next[lines[1]]++] = junction;
    }
    return incidence;
}

Matrix<std::int16_t> BuildLineJunctionMatrix(int lineCount,
                                             const std::vector<Junction>& junctions) {
    Matrix<std::int16_t> matrix(lineCount, junctions.size(), 0);
    for (std::size_t junction = 0; junction < junctions.size(); ++junction)
        for (const int line : LinesOf(junctions[junction], lineCount))
            matrix(line, junction) = 1;
    return matrix;
}

} // namespace vantrel::geometry

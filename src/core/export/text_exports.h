// The five text exports: axial lines, junctions, the line-junction data matrix and the two lists
// of integration values. Each writes the whole file's records to a stream; numbers in the files
// start at 1.
#pragma once

#include "core/app/project_state.h"

#include <ostream>
#include <span>

namespace vantrel::exports {

// One row per line: its number and its start and end coordinates.
void WriteAxialLines(std::ostream& out, std::span<const AxialLine> lines);
// The same for lines in doubles, each coordinate in the shortest form that reads back as the same
// double: for coordinates floats hold exactly, whole numbers among them, the same text.
void WriteAxialLines(std::ostream& out, std::span<const MapLine> lines);

// One row per junction: its number, its two line numbers rounded to whole numbers, its point (as a
// 32-bit float, also for a MapJunction).
void WriteJunctions(std::ostream& out, std::span<const Junction> junctions);
void WriteJunctions(std::ostream& out, std::span<const MapJunction> junctions);

// lineCount x junctions.size() rows, by line and then by junction: line, junction, and 1 when the
// line is one of the junction's two lines, else 0. This is the LineJunctionMatrix, which is built
// from the same junction list, written without needing the square matrix.
void WriteDataMatrix(std::ostream& out, int lineCount, std::span<const Junction> junctions);
void WriteDataMatrix(std::ostream& out, int lineCount, std::span<const MapJunction> junctions);

// lineCount rows of line number and value. Lines without a value yet (values shorter than
// lineCount, as before any analysis) are written as 0, the value an unanalysed project holds.
void WriteLineIntegration(std::ostream& out, int lineCount, std::span<const float> values);

// As WriteLineIntegration, for the junctions.
void WriteJunctionIntegration(std::ostream& out, int junctionCount, std::span<const float> values);

} // namespace vantrel::exports

// Reading axial lines from text: the program's own axial-lines export, or a CSV file whose header
// names the columns x1, y1, x2, y2.
#pragma once

#include "core/app/project_state.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::io {

struct LineReadError {
    // 1-based line of the text where the fault lies.
    int lineNumber = 0;
    std::string reason;
};

template <class Line> struct BasicLineReadResult {
    std::vector<Line> lines;
    // Set when the text is not a valid map; `lines` is then empty.
    std::optional<LineReadError> error;
};
using LineReadResult = BasicLineReadResult<AxialLine>;
using MapLineReadResult = BasicLineReadResult<MapLine>;

// Accepts either form, with LF or CR LF line ends and an optional UTF-8 byte order mark:
// - the axial-lines export: its title record, its heading record, then rows of line number,
//   x1, y1, x2, y2 (the line number is not checked; lines are numbered by their order);
// - a CSV file whose first record names x1, y1, x2 and y2 (in any order and letter case, quoted
//   or not) among any other columns, which are ignored.
// Fields are separated by commas and may be quoted ("" inside quotes is one quote). Blank lines
// are skipped. Every coordinate must be a finite decimal number within the range of a 32-bit
// float, read to the nearest float. The whole text is checked: an empty text, a header without
// one of the four columns, a row without a value for one, a value that is not a number or not
// finite, and a header with no rows after it are each an error naming the line.
LineReadResult ReadAxialLines(std::istream& in);
// The same, read to the nearest double, for the batch tool. A coordinate must be 0 or between
// 1e-100 and 1e100 in size, the range in which the crossing rule is decided exactly.
MapLineReadResult ReadMapLines(std::istream& in);

// Reads a lines file into `lines`. On failure `lines` is untouched and the result is a message
// naming the file and the fault: "town.csv", line 3: ... or Could not read "town.csv": ...
std::optional<std::string> ReadAxialLinesFile(const std::filesystem::path& file,
                                              std::vector<AxialLine>& lines);
std::optional<std::string> ReadMapLinesFile(const std::filesystem::path& file,
                                            std::vector<MapLine>& lines);

} // namespace vantrel::io

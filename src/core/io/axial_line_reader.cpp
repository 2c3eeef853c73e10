#include "core/io/axial_line_reader.h"

#include "core/geometry/orientation.h"
#include "core/host/quoted_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <string_view>
#include <type_traits>
#include <utility>

namespace vantrel::io {
namespace {

constexpr std::string_view kExportTitle = "Number and Position of Axial Lines";
constexpr std::array<std::string_view, 5> kExportHeading = {
    "Line Number", "Start X Coord", "Start Y Coord", "End X Coord", "End Y Coord"};
constexpr std::array<std::string_view, 4> kColumnNames = {"x1", "y1", "x2", "y2"};

struct ReadFault {
    int lineNumber;
    std::string reason;
};

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

struct Record {
    int lineNumber = 0;
    std::vector<std::string> fields;
};

// Hands out the non-blank lines of the text, split into fields.
class RecordSource {
public:
    explicit RecordSource(std::istream& in) : m_in(in) {}

    bool next(Record& record) {
        std::string text;
        while (std::getline(m_in, text)) {
            ++m_lineNumber;
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
            if (m_lineNumber == 1 && text.starts_with("\xEF\xBB\xBF"))
                text.erase(0, 3);
            if (!Trim(text).empty()) {
                record = {m_lineNumber, split(text)};
                return true;
            }
        }
        return false;
    }

    int lineNumber() const { return m_lineNumber; }

private:
    std::vector<std::string> split(std::string_view text) const {
        std::vector<std::string> fields;
        std::string field;
        bool quoted = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == ',' && !quoted) {
                fields.push_back(std::exchange(field, {}));
            } else {
                field += c;
            }
        }
        if (quoted)
            throw ReadFault{m_lineNumber, "a quoted field is not closed"};
        fields.push_back(std::move(field));
        return fields;
    }

    std::istream& m_in;
    int m_lineNumber = 0;
};

// Where the four coordinates of a line stand in a row, and what the file calls them.
struct Layout {
    std::array<std::size_t, 4> fieldOf{};
    std::array<std::string_view, 4> names{};
};

bool IsExportTitle(const Record& record) {
    return record.fields.size() == 1 && Trim(record.fields[0]) == kExportTitle;
}

Layout ExportLayout(RecordSource& source, int titleLine) {
    Record heading;
    const bool found = source.next(heading);
    const bool matches =
        found && heading.fields.size() == kExportHeading.size() &&
        std::equal(kExportHeading.begin(), kExportHeading.end(), heading.fields.begin(),
                   [](auto expected, const auto& field) { return Trim(field) == expected; });
    if (!matches) {
        throw ReadFault{found ? heading.lineNumber : titleLine + 1,
                        "the heading record of the axial-lines export is missing"};
    }
    Layout layout;
    for (std::size_t column = 0; column < 4; ++column) {
        layout.fieldOf[column] = column + 1;
        layout.names[column] = kExportHeading[column + 1];
    }
    return layout;
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

Layout HeaderLayout(const Record& header) {
    constexpr std::size_t kAbsent = std::numeric_limits<std::size_t>::max();
    Layout layout;
    layout.fieldOf.fill(kAbsent);
    layout.names = kColumnNames;
    for (std::size_t field = 0; field < header.fields.size(); ++field) {
        const std::string name = Lowered(Trim(header.fields[field]));
        const auto column = std::find(kColumnNames.begin(), kColumnNames.end(), name);
        if (column == kColumnNames.end())
            continue;
        std::size_t& at = layout.fieldOf[column - kColumnNames.begin()];
        if (at != kAbsent)
            throw ReadFault{header.lineNumber,
                            "the header names column " + QuotedValue(name) + " twice"};
        at = field;
    }
    for (std::size_t column = 0; column < 4; ++column) {
        if (layout.fieldOf[column] == kAbsent) {
            throw ReadFault{header.lineNumber,
                            "the header has no column " + QuotedValue(kColumnNames[column]) +
                                " (the first line must name the columns x1, y1, x2 and y2)"};
        }
    }
    return layout;
}

// The nearest float; a magnitude below the smallest float reads as 0 (or a denormal). The nearest
// double, within the range in which the crossing rule is decided exactly.
template <class Number>
Number Coordinate(std::string_view field, std::string_view column, int lineNumber) {
    const std::string_view text = Trim(field);
    if (text.empty())
        throw ReadFault{lineNumber, "the value of column " + QuotedValue(column) + " is empty"};
    std::string_view digits = text;
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-' && digits[1] != '+')
        digits.remove_prefix(1);
    const auto what = [&](std::string_view fault) {
        return ReadFault{lineNumber, "the value " + QuotedValue(text) + " of column " +
                                         QuotedValue(column) + std::string(fault)};
    };
    Number value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::invalid_argument || end != digits.data() + digits.size())
        throw what(" is not a number");
    if (error == std::errc::result_out_of_range) {
        const double wide = std::strtod(std::string(digits).c_str(), nullptr);
        if (!(std::fabs(wide) <= std::numeric_limits<Number>::max()))
            throw what(" is too large for a coordinate");
        value = static_cast<Number>(wide);
    }
    if (!std::isfinite(value))
        throw what(" is not a finite number");
    if constexpr (std::is_same_v<Number, double>) {
        if (std::fabs(value) > geometry::kMaxExactCoordinate)
            throw what(" is too large for a coordinate (at most 1e100)");
        if (value != 0 && std::fabs(value) < geometry::kMinExactCoordinate)
            throw what(" is too small for a coordinate (0, or at least 1e-100)");
    }
    return value;
}

template <class Line> Line LineOf(const Record& record, const Layout& layout) {
    using Number = decltype(Line::x1);
    std::array<Number, 4> values{};
    for (std::size_t column = 0; column < 4; ++column) {
        const std::size_t field = layout.fieldOf[column];
        if (field >= record.fields.size()) {
            throw ReadFault{record.lineNumber, "the row has " +
                                                   std::to_string(record.fields.size()) +
                                                   " fields, so no value for column " +
                                                   QuotedValue(layout.names[column])};
        }
        values[column] =
            Coordinate<Number>(record.fields[field], layout.names[column], record.lineNumber);
    }
    return {values[0], values[1], values[2], values[3]};
}

template <class Line> BasicLineReadResult<Line> ReadLines(std::istream& in) {
    try {
        RecordSource source(in);
        Record header;
        if (!source.next(header))
            throw ReadFault{1, "the file is empty"};
        const Layout layout =
            IsExportTitle(header) ? ExportLayout(source, header.lineNumber) : HeaderLayout(header);
        BasicLineReadResult<Line> result;
        for (Record row; source.next(row);)
            result.lines.push_back(LineOf<Line>(row, layout));
        if (result.lines.empty())
            throw ReadFault{source.lineNumber() + 1, "no axial lines follow the header"};
        return result;
    } catch (const ReadFault& fault) {
        return {{}, LineReadError{fault.lineNumber, fault.reason}};
    }
}

template <class Line>
std::optional<std::string> ReadLinesFile(const std::filesystem::path& file,
                                         std::vector<Line>& lines) {
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored))
        return "Could not read " + QuotedName(file) + ": it is a folder";
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return "Could not read " + QuotedName(file) + ": " + std::strerror(errno);
    BasicLineReadResult<Line> read = ReadLines<Line>(in);
    if (in.bad())
        return "Could not read " + QuotedName(file) + ": the file could not be read to its end";
    if (read.error) {
        return QuotedName(file) + ", line " + std::to_string(read.error->lineNumber) + ": " +
               read.error->reason;
    }
    lines = std::move(read.lines);
    return std::nullopt;
}

} // namespace

LineReadResult ReadAxialLines(std::istream& in) {
    return ReadLines<AxialLine>(in);
}

MapLineReadResult ReadMapLines(std::istream& in) {
    return ReadLines<MapLine>(in);
}

std::optional<std::string> ReadAxialLinesFile(const std::filesystem::path& file,
                                              std::vector<AxialLine>& lines) {
    return ReadLinesFile(file, lines);
}

std::optional<std::string> ReadMapLinesFile(const std::filesystem::path& file,
                                            std::vector<MapLine>& lines) {
    return ReadLinesFile(file, lines);
}

} // namespace vantrel::io

// The record format shared by every text export: comma-separated fields, one record a line.
#pragma once

#include <ostream>
#include <string_view>

namespace vantrel::exports {

// Writes records to a stream. A record is its fields separated by "," with no blanks, ended by
// CR LF. Texts are written in double quotes (a quote inside is doubled), whole numbers as
// IntegerText, and floats in the shortest decimal form that reads back as the same 32-bit float,
// as std::to_chars gives it: 0.5 -> "0.5", 1 -> "1", 1e20 -> "1e+20", 100000 -> "1e+05".
// Stream errors are left in the stream's state for the caller to check.
class RecordWriter {
public:
    explicit RecordWriter(std::ostream& out) : m_out(out) {}

    RecordWriter& field(std::string_view text);
    RecordWriter& field(long long value);
    RecordWriter& field(int value) { return field(static_cast<long long>(value)); }
    RecordWriter& field(float value);
    // The text exports hold 32-bit floats; a double is narrowed on purpose or written whole here,
    // in the shortest form that reads back as the same double.
    RecordWriter& field(double value) = delete;
    RecordWriter& wideField(double value);
    // A field with nothing in it, for a value that does not exist.
    RecordWriter& emptyField();

    // Ends the current record; with no fields written it is an empty record.
    void end();
    // An empty record: CR LF alone.
    void emptyRecord() { end(); }

private:
    void separate();

    std::ostream& m_out;
    bool m_recordStarted = false;
};

} // namespace vantrel::exports

#include "core/export/records.h"

#include "core/host/number_text.h"

#include <charconv>

namespace vantrel::exports {

void RecordWriter::separate() {
    if (m_recordStarted)
        m_out.put(',');
    m_recordStarted = true;
}

RecordWriter& RecordWriter::field(std::string_view text) {
    separate();
    m_out.put('"');
    for (char c : text) {
        if (c == '"')
            m_out.put('"');
        m_out.put(c);
    }
    m_out.put('"');
    return *this;
}

RecordWriter& RecordWriter::field(long long value) {
    separate();
    m_out << IntegerText(value);
    return *this;
}

RecordWriter& RecordWriter::field(float value) {
    separate();
    char buffer[32]; // the longest shortest float, "-1.17549435e-38", has 15 characters
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    m_out.write(buffer, result.ptr - buffer);
    return *this;
}

void RecordWriter::end() {
    m_out.write("\r\n", 2);
    m_recordStarted = false;
}

} // namespace vantrel::exports

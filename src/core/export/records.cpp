#include "core/export/records.h"

#include "core/host/number_text.h"

#include <charconv>
#include <cmath>

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

namespace {

// Plain decimals for every value a map or an analysis gives; the exponent form only for
// magnitudes where plain digits would run long.
template <class Floating> void WriteShortest(std::ostream& out, Floating value) {
    const Floating magnitude = std::fabs(value);
    const bool plain =
        magnitude == 0 || (magnitude >= Floating(1e-4) && magnitude < Floating(1e15));
    char buffer[64];
    const auto result =
        plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
              : std::to_chars(buffer, buffer + sizeof buffer, value);
    out.write(buffer, result.ptr - buffer);
}

} // namespace

RecordWriter& RecordWriter::field(float value) {
    separate();
    WriteShortest(m_out, value);
    return *this;
}

RecordWriter& RecordWriter::wideField(double value) {
    separate();
    WriteShortest(m_out, value);
    return *this;
}

RecordWriter& RecordWriter::emptyField() {
    separate();
    return *this;
}

void RecordWriter::end() {
    m_out.write("\r\n", 2);
    m_recordStarted = false;
}

} // namespace vantrel::exports

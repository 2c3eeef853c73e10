#include "core/host/quoted_text.h"

#include <cstdio>

namespace vantrel {
namespace {

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
}

} // namespace

std::string QuotedValue(std::string_view text) {
    if (text.size() <= kQuotedValueLimit)
        return QuotedName(text);
    std::string quoted(1, '"');
    AppendEscaped(quoted, text.substr(0, kQuotedValueLimit));
    quoted += "...\" (" + std::to_string(text.size()) + " characters)";
    return quoted;
}

std::string QuotedName(std::string_view text) {
    std::string quoted(1, '"');
    AppendEscaped(quoted, text);
    quoted += '"';
    return quoted;
}

std::string QuotedName(const std::filesystem::path& path) {
    return QuotedName(std::string_view(path.native()));
}

} // namespace vantrel

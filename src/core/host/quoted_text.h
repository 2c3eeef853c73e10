// Text from files and command lines as messages show it: in double quotes, control characters
// escaped so that nothing reaches the terminal raw, and long values cut.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// The most characters of an offending value a message quotes.
inline constexpr std::size_t kQuotedValueLimit = 80;

// A value, cut after kQuotedValueLimit characters with "..." and its whole length:
// "12,5,7,9,..." (10000000 characters).
std::string QuotedValue(std::string_view text);

// A file or folder name, whole.
std::string QuotedName(std::string_view text);
std::string QuotedName(const std::filesystem::path& path);

} // namespace vantrel

// Writing a file so that a failure never leaves it half-written or destroys the previous one.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace vantrel::exports {

// Runs `write` on a temporary file beside `target` and, when every byte has reached the file,
// renames it over `target` (keeping an existing target's permissions). On any failure, including
// a std::exception thrown by `write` or a failed state `write` leaves on the stream, the
// temporary file is removed, an existing target is left untouched, and the result is a message
// naming the file and the reason: Could not write "/home/ana/lines.txt": Permission denied
// Returns nullopt on success.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& target,
                                               const std::function<void(std::ostream&)>& write);

} // namespace vantrel::exports

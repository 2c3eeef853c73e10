// Writing a file so that a failure never leaves it half-written or destroys the previous one.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace vantrel::exports {

// Runs `write` on a temporary file beside `target` and, when every byte has reached the disk,
// renames it over `target` (keeping an existing target's permissions) and flushes the folder, so
// that after a power cut the name holds the old file or the whole new one. The temporary file,
// .NAME.vantrel-PID-NUMBER.tmp, names the process writing it; those of `target` that processes no
// longer running left (a save killed while it wrote) are removed first. On any failure, including
// a std::exception thrown by `write` or a failed state `write` leaves on the stream, the
// temporary file is removed, an existing target is left untouched, and the result is a message
// naming the file and the reason: Could not write "/home/ana/lines.txt": Permission denied
// Returns nullopt on success.
// A file that exists and is protected from writing (by the user's rights, or with no write
// permission for anyone) is refused the same way, with "Permission denied", and left untouched.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& target,
                                               const std::function<void(std::ostream&)>& write);

// Removes the temporary files that processes no longer running left in `folder`, beside any file.
void RemoveTemporaryFilesOfEndedRuns(const std::filesystem::path& folder);

// True when `target` is an existing file that the user may not, or that nobody may, write.
bool IsWriteProtected(const std::filesystem::path& target);

} // namespace vantrel::exports

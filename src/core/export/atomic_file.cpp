#include "core/export/atomic_file.h"

#include "core/host/processes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <random>
#include <string_view>
#include <system_error>

namespace vantrel::exports {

namespace {

namespace fs = std::filesystem;

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : m_path(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!m_kept) {
            std::error_code ignored;
            fs::remove(m_path, ignored);
        }
    }
    const fs::path& path() const { return m_path; }
    void keep() { m_kept = true; }

private:
    fs::path m_path;
    bool m_kept = false;
};

constexpr std::string_view kTemporaryTag = ".vantrel-";
constexpr std::string_view kTemporaryExtension = ".tmp";

// The temporary file names of `fileName` begin with this.
std::string TemporaryPrefix(const std::string& fileName) {
    std::string prefix = ".";
    prefix.append(fileName).append(kTemporaryTag);
    return prefix;
}

// A hidden name beside the target that no other file has, naming this process.
fs::path UnusedTemporaryPath(const fs::path& target) {
    std::random_device entropy;
    std::mt19937_64 random(entropy());
    const fs::path folder = target.parent_path();
    for (;;) {
        // Built by appending: GCC 12 warns falsely (-Wrestrict) on "text" + std::string.
        std::string name = TemporaryPrefix(target.filename().string());
        name.append(std::to_string(::getpid())).append("-");
        name.append(std::to_string(random() % 1000000000)).append(kTemporaryExtension);
        const fs::path candidate = folder / name;
        std::error_code error;
        if (!fs::exists(candidate, error))
            return candidate;
    }
}

// The process that wrote a temporary file of that name, when it is one: PID-NUMBER.tmp after the
// last tag.
std::optional<pid_t> TemporaryFileWriter(std::string_view name) {
    const std::size_t tag = name.rfind(kTemporaryTag);
    if (!name.starts_with('.') || tag == std::string_view::npos ||
        !name.ends_with(kTemporaryExtension))
        return std::nullopt;
    const char* const last = name.data() + name.size() - kTemporaryExtension.size();
    pid_t pid = 0;
    const auto [dash, fault] = std::from_chars(name.data() + tag + kTemporaryTag.size(), last, pid);
    if (fault != std::errc() || dash == last || *dash != '-' || pid <= 0)
        return std::nullopt;
    std::uint64_t number = 0;
    const auto [end, numberFault] = std::from_chars(dash + 1, last, number);
    if (numberFault != std::errc() || end != last)
        return std::nullopt;
    return pid;
}

// Removes the temporary files in `folder` whose names begin with `prefix` and whose writers have
// ended.
void RemoveEndedTemporaryFiles(const fs::path& folder, std::string_view prefix) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix))
            continue;
        const std::optional<pid_t> writer = TemporaryFileWriter(name);
        std::error_code ignored;
        if (writer && !ProcessIsAlive(*writer) && entry.is_regular_file(ignored))
            fs::remove(entry.path(), ignored);
    }
}

// Flushes a file, or a folder's entries, to the disk; the reason on failure.
std::optional<std::string> FlushToDisk(const fs::path& path, int flags) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (descriptor < 0)
        return std::generic_category().message(errno);
    const bool flushed = ::fsync(descriptor) == 0;
    const int reason = errno;
    ::close(descriptor);
    if (!flushed)
        return std::generic_category().message(reason);
    return std::nullopt;
}

std::string Failure(const fs::path& target, const std::string& reason) {
    std::string message = "Could not write \"";
    message.append(target.string()).append("\": ").append(reason);
    return message;
}

// The reason the last system call gave, or a plain one when it gave none.
std::string LastSystemReason() {
    return errno != 0 ? std::generic_category().message(errno) : "Write failed";
}

} // namespace

void RemoveTemporaryFilesOfEndedRuns(const fs::path& folder) {
    RemoveEndedTemporaryFiles(folder, ".");
}

bool IsWriteProtected(const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (!fs::is_regular_file(status))
        return false;
    // Renaming over a file needs no right to the file itself, so its protection is asked for:
    // the user's own right, and for the superuser, whom that never stops, the write bits.
    constexpr fs::perms kWriteBits =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return ::access(target.c_str(), W_OK) != 0 ||
           (status.permissions() & kWriteBits) == fs::perms::none;
}

std::optional<std::string> WriteFileAtomically(const fs::path& target,
                                               const std::function<void(std::ostream&)>& write) {
    if (IsWriteProtected(target))
        return Failure(target, std::generic_category().message(EACCES));
    const fs::path folder = target.parent_path().empty() ? "." : target.parent_path();
    RemoveEndedTemporaryFiles(folder, TemporaryPrefix(target.filename().string()));
    TemporaryFile temporary(UnusedTemporaryPath(target));

    errno = 0;
    std::ofstream file(temporary.path(), std::ios::binary | std::ios::trunc);
    if (!file)
        return Failure(target, LastSystemReason());

    try {
        errno = 0;
        write(file);
    } catch (const std::exception& exception) {
        return Failure(target, exception.what());
    }
    if (!file)
        return Failure(target, LastSystemReason());

    errno = 0;
    file.close();
    if (file.fail())
        return Failure(target, LastSystemReason());
    if (auto reason = FlushToDisk(temporary.path(), 0))
        return Failure(target, *reason);

    std::error_code error;
    const fs::file_status existing = fs::status(target, error);
    if (fs::is_regular_file(existing))
        fs::permissions(temporary.path(), existing.permissions(), error);

    fs::rename(temporary.path(), target, error);
    if (error)
        return Failure(target, error.message());
    temporary.keep();
    // The file is in place; a folder whose entries cannot be flushed (some file systems refuse)
    // still holds it.
    FlushToDisk(folder, O_DIRECTORY);
    return std::nullopt;
}

} // namespace vantrel::exports

#include "core/export/atomic_file.h"

#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <random>
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

// A hidden name beside the target that no other file has.
fs::path UnusedTemporaryPath(const fs::path& target) {
    std::random_device entropy;
    std::mt19937_64 random(entropy());
    const fs::path folder = target.parent_path();
    for (;;) {
        // Built by appending: GCC 12 warns falsely (-Wrestrict) on "text" + std::string.
        std::string name = ".";
        name.append(target.filename().string()).append(".");
        name.append(std::to_string(random() % 1000000000)).append(".tmp");
        const fs::path candidate = folder / name;
        std::error_code error;
        if (!fs::exists(candidate, error))
            return candidate;
    }
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

    std::error_code error;
    const fs::file_status existing = fs::status(target, error);
    if (fs::is_regular_file(existing))
        fs::permissions(temporary.path(), existing.permissions(), error);

    fs::rename(temporary.path(), target, error);
    if (error)
        return Failure(target, error.message());
    temporary.keep();
    return std::nullopt;
}

} // namespace vantrel::exports

#include "cli/held_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <ext/stdio_filebuf.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace vantrel::cli {

namespace fs = std::filesystem;

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::string SystemReason() {
    return errno != 0 ? std::strerror(errno) : "Write failed";
}

// Removes everything inside the open folder, then closes it.
void EmptyAndClose(int folder) {
    DIR* listing = fdopendir(folder);
    if (!listing) {
        close(folder);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    for (const std::string& name : names) {
        if (unlinkat(dirfd(listing), name.c_str(), 0) == 0)
            continue;
        const int inner = openat(dirfd(listing), name.c_str(), kFolderFlags);
        if (inner >= 0) {
            EmptyAndClose(inner);
            unlinkat(dirfd(listing), name.c_str(), AT_REMOVEDIR);
        }
    }
    closedir(listing);
}

} // namespace

HeldFolder::HeldFolder(int descriptor, fs::path path)
    : m_descriptor(descriptor), m_path(std::move(path)) {}

std::optional<HeldFolder> HeldFolder::open(const fs::path& path, std::string& reason) {
    const int descriptor = ::open(path.empty() ? "." : path.c_str(), kFolderFlags & ~O_NOFOLLOW);
    if (descriptor < 0) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    return HeldFolder(descriptor, path);
}

std::optional<HeldFolder> HeldFolder::open(const HeldFolder& parent, const std::string& name) {
    const int descriptor = openat(parent.m_descriptor, name.c_str(), kFolderFlags);
    if (descriptor < 0)
        return std::nullopt;
    return HeldFolder(descriptor, parent.m_path / name);
}

HeldFolder::HeldFolder(HeldFolder&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)), m_path(std::move(other.m_path)) {}

HeldFolder& HeldFolder::operator=(HeldFolder&& other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0)
            close(m_descriptor);
        m_descriptor = std::exchange(other.m_descriptor, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

HeldFolder::~HeldFolder() {
    if (m_descriptor >= 0)
        close(m_descriptor);
}

std::optional<struct stat> HeldFolder::entry(const std::string& name) const {
    struct stat status {};
    if (fstatat(m_descriptor, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return status;
}

std::vector<std::string> HeldFolder::names() const {
    std::vector<std::string> names;
    const int copy = openat(m_descriptor, ".", kFolderFlags);
    if (copy < 0)
        return names;
    DIR* listing = fdopendir(copy);
    if (!listing) {
        close(copy);
        return names;
    }
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(listing);
    return names;
}

bool HeldFolder::rename(const std::string& from, const HeldFolder& into,
                        const std::string& to) const {
    return renameat(m_descriptor, from.c_str(), into.m_descriptor, to.c_str()) == 0;
}

void HeldFolder::removeTree(const std::string& name) const {
    // Files a writer adds while the tree is removed make the last step fail once.
    for (int attempt = 0; attempt < 3 && entry(name); ++attempt) {
        if (unlinkat(m_descriptor, name.c_str(), 0) == 0)
            return;
        const int inner = openat(m_descriptor, name.c_str(), kFolderFlags);
        if (inner < 0)
            return;
        EmptyAndClose(inner);
        unlinkat(m_descriptor, name.c_str(), AT_REMOVEDIR);
    }
}

void HeldFolder::sync() const {
    fsync(m_descriptor);
}

void HeldFolder::syncAll() const {
    for (const std::string& name : names()) {
        const int file = openat(m_descriptor, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (file >= 0) {
            fsync(file);
            close(file);
        }
    }
    sync();
}

std::optional<std::string> ReadFileIn(const HeldFolder& folder, const std::string& name) {
    const int file = openat(folder.descriptor(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (file < 0)
        return std::nullopt;
    std::string text;
    char block[4096];
    ssize_t length = 0;
    while ((length = read(file, block, sizeof block)) > 0)
        text.append(block, static_cast<std::size_t>(length));
    close(file);
    if (length < 0)
        return std::nullopt;
    return text;
}

std::optional<std::string> WriteFileIn(const HeldFolder& folder, const std::string& name,
                                       const std::function<void(std::ostream&)>& write) {
    errno = 0;
    const int descriptor = openat(folder.descriptor(), name.c_str(),
                                  O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return SystemReason();
    // The buffer owns the descriptor and closes it.
    __gnu_cxx::stdio_filebuf<char> buffer(descriptor, std::ios::out);
    std::ostream out(&buffer);
    try {
        errno = 0;
        write(out);
    } catch (const std::exception& exception) {
        return exception.what();
    }
    if (!out.flush())
        return SystemReason();
    errno = 0;
    if (fsync(descriptor) != 0 || !buffer.close())
        return SystemReason();
    return std::nullopt;
}

} // namespace vantrel::cli

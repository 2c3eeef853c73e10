#include "cli/output_place.h"

#include "core/host/quoted_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace vantrel::cli {

namespace fs = std::filesystem;

namespace {

// The number of links followed before a path is taken for a loop, as the system counts.
constexpr int kMaxLinks = 40;

fs::path Normal(const fs::path& path) {
    fs::path normal = path.lexically_normal();
    return normal.filename().empty() && normal != normal.root_path() ? normal.parent_path()
                                                                     : normal;
}

} // namespace

std::optional<OutputPlace>
FindOutputPlace(const fs::path& target,
                const std::function<std::string(const std::string& reason)>& cannotWrite,
                std::string& fault) {
    std::error_code error;
    fs::path path = Normal(fs::absolute(target, error));
    if (error) {
        fault = cannotWrite(error.message());
        return std::nullopt;
    }
    for (int links = 0; links <= kMaxLinks; ++links) {
        if (path == path.root_path()) {
            fault = cannotWrite("the root folder cannot hold the results");
            return std::nullopt;
        }
        const fs::path parent = path.parent_path();
        fs::create_directories(parent, error);
        if (error) {
            fault = "Could not create the folder " + QuotedName(parent) + ": " + error.message();
            return std::nullopt;
        }
        std::string reason;
        std::optional<HeldFolder> folder = HeldFolder::open(parent, reason);
        if (!folder) {
            fault = cannotWrite(reason);
            return std::nullopt;
        }
        const std::string name = path.filename().string();
        const std::optional<struct stat> entry = folder->entry(name);
        if (!entry || !S_ISLNK(entry->st_mode))
            return OutputPlace{std::move(*folder), name};
        if (entry->st_uid != geteuid()) {
            fault = cannotWrite("it is a symbolic link that another user owns");
            return std::nullopt;
        }
        char link[PATH_MAX];
        const ssize_t length = readlinkat(folder->descriptor(), name.c_str(), link, sizeof link);
        if (length <= 0 || length == static_cast<ssize_t>(sizeof link)) {
            fault = cannotWrite(std::strerror(length < 0 ? errno : ENAMETOOLONG));
            return std::nullopt;
        }
        path = Normal(parent / fs::path(std::string(link, static_cast<std::size_t>(length))));
    }
    fault = cannotWrite(std::strerror(ELOOP));
    return std::nullopt;
}

InputFiles::InputFiles(const std::vector<fs::path>& files) {
    for (const fs::path& file : files) {
        struct stat status {};
        if (stat(file.c_str(), &status) == 0)
            m_files.emplace_back(status.st_dev, status.st_ino);
    }
}

bool InputFiles::holds(const struct stat& file) const {
    return std::find(m_files.begin(), m_files.end(), std::pair{file.st_dev, file.st_ino}) !=
           m_files.end();
}

} // namespace vantrel::cli

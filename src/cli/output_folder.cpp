#include "cli/output_folder.h"

#include "cli/sibling_names.h"
#include "core/host/quoted_text.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace vantrel::cli {
namespace {

namespace fs = std::filesystem;

std::string CannotWrite(const fs::path& folder, const std::string& reason) {
    return "Could not write into " + QuotedName(folder) + ": " + reason;
}

std::string SystemReason() {
    return errno != 0 ? std::strerror(errno) : "Write failed";
}

} // namespace

OutputFolder::OutputFolder(fs::path target, std::span<const std::string_view> ownNames,
                           bool overwrite)
    : m_target(std::move(target)), m_ownNames(ownNames), m_overwrite(overwrite) {}

OutputFolder::~OutputFolder() {
    discard();
}

std::optional<std::string> OutputFolder::prepare() {
    std::error_code error;
    // The folder itself is replaced, so "." or a link must name the real folder.
    fs::path target = fs::weakly_canonical(fs::absolute(m_target, error), error);
    if (error)
        return CannotWrite(m_target, error.message());
    if (target.filename().empty())
        target = target.parent_path();
    if (target == target.root_path())
        return CannotWrite(m_target, "the root folder cannot hold the results");
    m_target = target;

    if (auto fault = checkTarget())
        return fault;
    fs::create_directories(m_target.parent_path(), error);
    if (error)
        return "Could not create the folder " + QuotedName(m_target.parent_path()) + ": " +
               error.message();
    removeLeftovers();

    const std::lock_guard lock(m_mutex);
    m_staging = Sibling(m_target, kStagingSuffix);
    if (!fs::create_directory(m_staging, error) || error)
        return CannotWrite(m_target, error ? error.message() : "a folder of that name exists");
    m_staged = true;
    return std::nullopt;
}

std::optional<std::string> OutputFolder::checkTarget() const {
    std::error_code error;
    const fs::file_status status = fs::status(m_target, error);
    if (!fs::exists(status))
        return std::nullopt;
    if (!fs::is_directory(status))
        return CannotWrite(m_target, "it is not a folder");
    if (access(m_target.c_str(), W_OK | X_OK) != 0)
        return CannotWrite(m_target, std::strerror(errno));
    if (m_overwrite)
        return std::nullopt;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_target, error)) {
        const std::string name = entry.path().filename().string();
        if (std::find(m_ownNames.begin(), m_ownNames.end(), name) == m_ownNames.end())
            return CannotWrite(m_target, "it holds files vantrel-cli did not write, such as " +
                                             QuotedName(std::string_view(name)) +
                                             "; choose another folder, or give --overwrite to "
                                             "replace the folder and everything in it");
    }
    if (error)
        return CannotWrite(m_target, error.message());
    return std::nullopt;
}

void OutputFolder::removeLeftovers() const {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_target.parent_path(), error)) {
        const auto owner = SiblingOwner(m_target, entry.path().filename().string());
        if (!owner || ProcessIsAlive(owner->first))
            continue;
        // A run killed between moving the old folder aside and moving the new one in.
        if (owner->second == kAsideSuffix && !fs::exists(m_target, error)) {
            fs::rename(entry.path(), m_target, error);
            continue;
        }
        RemoveTree(entry.path());
    }
}

std::optional<std::string> OutputFolder::write(std::string_view name,
                                               const std::function<void(std::ostream&)>& writer) {
    const fs::path shown = m_target / name;
    errno = 0;
    std::ofstream file(m_staging / name, std::ios::binary | std::ios::trunc);
    if (!file)
        return "Could not write " + QuotedName(shown) + ": " + SystemReason();
    try {
        errno = 0;
        writer(file);
    } catch (const std::exception& exception) {
        return "Could not write " + QuotedName(shown) + ": " + exception.what();
    }
    if (file)
        file.close();
    if (file.fail())
        return "Could not write " + QuotedName(shown) + ": " + SystemReason();
    return std::nullopt;
}

std::optional<std::string> OutputFolder::commit() {
    const std::lock_guard lock(m_mutex);
    if (!m_staged)
        return CannotWrite(m_target, "the run was interrupted");
    if (auto fault = swapIn())
        return fault;
    m_committed = true;
    return std::nullopt;
}

std::optional<std::string> OutputFolder::swapIn() {
    std::error_code error;
    const fs::file_status existing = fs::status(m_target, error);
    if (!fs::exists(existing)) {
        fs::rename(m_staging, m_target, error);
        return error ? std::optional(CannotWrite(m_target, error.message())) : std::nullopt;
    }
    fs::permissions(m_staging, existing.permissions(), error);
    if (renameat2(AT_FDCWD, m_staging.c_str(), AT_FDCWD, m_target.c_str(), RENAME_EXCHANGE) == 0) {
        // The staging name now holds the previous folder.
        RemoveTree(m_staging);
        return std::nullopt;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return CannotWrite(m_target, std::strerror(errno));
    // A file system that cannot exchange: the old folder goes aside for the moment between.
    const fs::path aside = Sibling(m_target, kAsideSuffix);
    fs::rename(m_target, aside, error);
    if (error)
        return CannotWrite(m_target, error.message());
    fs::rename(m_staging, m_target, error);
    if (error) {
        std::error_code ignored;
        fs::rename(aside, m_target, ignored);
        return CannotWrite(m_target, error.message());
    }
    RemoveTree(aside);
    return std::nullopt;
}

void OutputFolder::discard() {
    const std::lock_guard lock(m_mutex);
    if (m_staged && !m_committed)
        RemoveTree(m_staging);
    m_staged = false;
}

} // namespace vantrel::cli

#include "cli/output_folder.h"

#include "cli/sibling_names.h"
#include "core/host/quoted_text.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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
                           bool overwrite, InputFiles inputs)
    : m_target(std::move(target)), m_ownNames(ownNames), m_overwrite(overwrite),
      m_inputs(std::move(inputs)) {}

OutputFolder::~OutputFolder() {
    discard();
}

fs::path OutputFolder::shown() const {
    return m_place ? m_place->path() : m_target;
}

std::optional<std::string> OutputFolder::prepare() {
    std::string fault;
    m_place = FindOutputPlace(
        m_target, [this](const std::string& reason) { return CannotWrite(m_target, reason); },
        fault);
    if (!m_place)
        return fault;
    if (auto fault = checkTarget())
        return fault;
    removeLeftovers();

    const std::lock_guard lock(m_mutex);
    const HeldFolder& parent = m_place->folder;
    m_stagingName = SiblingName(m_place->name, kStagingSuffix);
    errno = 0;
    if (mkdirat(parent.descriptor(), m_stagingName.c_str(), 0777) != 0)
        return CannotWrite(shown(),
                           errno == EEXIST ? "a folder of that name exists" : SystemReason());
    m_staging = HeldFolder::open(parent, m_stagingName);
    if (!m_staging)
        return CannotWrite(shown(), SystemReason());
    return std::nullopt;
}

std::optional<std::string> OutputFolder::checkTarget() const {
    const HeldFolder& parent = m_place->folder;
    const std::optional<struct stat> entry = parent.entry(m_place->name);
    if (!entry)
        return std::nullopt;
    if (!S_ISDIR(entry->st_mode))
        return CannotWrite(shown(), "it is not a folder");
    if (faccessat(parent.descriptor(), m_place->name.c_str(), W_OK | X_OK, 0) != 0)
        return CannotWrite(shown(), std::strerror(errno));
    if (m_overwrite)
        return std::nullopt;
    const std::optional<HeldFolder> folder = HeldFolder::open(parent, m_place->name);
    if (!folder)
        return CannotWrite(shown(), std::strerror(errno));
    const auto refuse = [&](const std::string& what) {
        return CannotWrite(shown(), what +
                                        "; choose another folder, or give --overwrite to replace "
                                        "the folder and everything in it");
    };
    for (const std::string& name : folder->names()) {
        if (std::find(m_ownNames.begin(), m_ownNames.end(), name) == m_ownNames.end())
            return refuse("it holds files vantrel-cli did not write, such as " +
                          QuotedName(std::string_view(name)));
        if (const auto file = folder->entry(name); file && m_inputs.holds(*file))
            return refuse("it holds " + QuotedName(std::string_view(name)) +
                          ", the lines this run reads");
    }
    return std::nullopt;
}

void OutputFolder::removeLeftovers() const {
    const HeldFolder& parent = m_place->folder;
    for (const std::string& name : parent.names()) {
        const auto owner = SiblingOwner(m_place->name, name);
        if (!owner || ProcessIsAlive(owner->first))
            continue;
        // A run killed between moving the old folder aside and moving the new one in.
        if (owner->second == kAsideSuffix && !parent.entry(m_place->name) &&
            parent.rename(name, parent, m_place->name))
            continue;
        parent.removeTree(name);
    }
}

std::optional<std::string> OutputFolder::write(std::string_view name,
                                               const std::function<void(std::ostream&)>& writer) {
    if (auto reason = WriteFileIn(*m_staging, std::string(name), writer))
        return "Could not write " + QuotedName(shown() / name) + ": " + *reason;
    return std::nullopt;
}

std::optional<std::string> OutputFolder::commit() {
    const std::lock_guard lock(m_mutex);
    if (!m_staging)
        return CannotWrite(shown(), "the run was interrupted");
    m_staging->sync();
    if (auto fault = swapIn())
        return fault;
    m_committed = true;
    m_place->folder.sync();
    return std::nullopt;
}

std::optional<std::string> OutputFolder::swapIn() {
    const HeldFolder& parent = m_place->folder;
    const std::string& name = m_place->name;
    const std::optional<struct stat> existing = parent.entry(name);
    if (!existing) {
        if (!parent.rename(m_stagingName, parent, name))
            return CannotWrite(shown(), std::strerror(errno));
        return std::nullopt;
    }
    fchmod(m_staging->descriptor(), existing->st_mode & 07777);
    if (renameat2(parent.descriptor(), m_stagingName.c_str(), parent.descriptor(), name.c_str(),
                  RENAME_EXCHANGE) == 0) {
        // The staging name now holds the previous folder.
        parent.removeTree(m_stagingName);
        return std::nullopt;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return CannotWrite(shown(), std::strerror(errno));
    // A file system that cannot exchange: the old folder goes aside for the moment between.
    const std::string aside = SiblingName(name, kAsideSuffix);
    if (!parent.rename(name, parent, aside))
        return CannotWrite(shown(), std::strerror(errno));
    if (!parent.rename(m_stagingName, parent, name)) {
        const std::string reason = std::strerror(errno);
        parent.rename(aside, parent, name);
        return CannotWrite(shown(), reason);
    }
    parent.removeTree(aside);
    return std::nullopt;
}

void OutputFolder::discard() {
    const std::lock_guard lock(m_mutex);
    if (m_staging && !m_committed)
        m_place->folder.removeTree(m_stagingName);
    m_staging.reset();
}

} // namespace vantrel::cli

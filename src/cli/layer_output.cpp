#include "cli/layer_output.h"

#include "cli/sibling_names.h"
#include "core/host/quoted_text.h"
#include "gis/result_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

namespace vantrel::cli {

namespace fs = std::filesystem;

namespace {

// In a commit folder: the names of the files it puts in place, one a line. No result file is
// named so: every one ends in its format's extension.
constexpr char kFileList[] = ".vantrel-files";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

// Moves the files a commit folder lists into `parent`, removes the files of the result named
// `target` that the list does not hold, then the commit folder. Done again after an
// interruption, it comes to the same end. The fault of a file that could not be moved, if any.
std::optional<std::string> FinishCommit(const HeldFolder& parent, const fs::path& target,
                                        const std::vector<std::string>& layers,
                                        const std::string& commitName) {
    const std::optional<HeldFolder> commit = HeldFolder::open(parent, commitName);
    const std::optional<std::string> list = commit ? ReadFileIn(*commit, kFileList) : std::nullopt;
    if (!list) {
        parent.removeTree(commitName);
        return std::nullopt;
    }
    const std::vector<std::string> files = Lines(*list);
    for (const std::string& file : files) {
        if (commit->entry(file) && !commit->rename(file, parent, file))
            return "Could not write " + QuotedName(parent.path() / file) + ": " +
                   std::strerror(errno);
    }
    for (const std::string& name : parent.names()) {
        if (gis::IsResultFile(target, layers, name) &&
            std::find(files.begin(), files.end(), name) == files.end())
            unlinkat(parent.descriptor(), name.c_str(), 0);
    }
    parent.sync();
    parent.removeTree(commitName);
    return std::nullopt;
}

} // namespace

LayerOutput::LayerOutput(fs::path target, std::vector<std::string> layers, bool overwrite,
                         InputFiles inputs)
    : m_target(std::move(target)), m_layers(std::move(layers)), m_overwrite(overwrite),
      m_inputs(std::move(inputs)) {}

LayerOutput::~LayerOutput() {
    discard();
}

fs::path LayerOutput::shown() const {
    return m_place ? m_place->path() : m_target;
}

std::optional<std::string> LayerOutput::prepare() {
    std::string fault;
    m_place = FindOutputPlace(
        m_target,
        [this](const std::string& reason) {
            return "Could not write " + QuotedName(m_target) + ": " + reason;
        },
        fault);
    if (!m_place)
        return fault;
    const HeldFolder& parent = m_place->folder;
    for (const std::string& name : parent.names()) {
        const auto owner = SiblingOwner(m_place->name, name);
        if (!owner || ProcessIsAlive(owner->first))
            continue;
        if (owner->second != kCommitSuffix)
            parent.removeTree(name);
        else if (auto fault = FinishCommit(parent, shown(), m_layers, name))
            return fault;
    }
    if (auto fault = checkReplaced())
        return fault;

    const std::lock_guard lock(m_mutex);
    m_stagingName = SiblingName(m_place->name, kStagingSuffix);
    errno = 0;
    if (mkdirat(parent.descriptor(), m_stagingName.c_str(), 0777) != 0)
        return "Could not write " + QuotedName(shown()) + ": " +
               (errno == EEXIST ? "a folder of its staging name exists" : std::strerror(errno));
    m_staging = HeldFolder::open(parent, m_stagingName);
    if (!m_staging)
        return "Could not write " + QuotedName(shown()) + ": " + std::strerror(errno);
    return std::nullopt;
}

std::optional<std::string> LayerOutput::checkReplaced() const {
    if (m_overwrite)
        return std::nullopt;
    const HeldFolder& parent = m_place->folder;
    const auto refuse = [&](const std::string& name, const std::string& what) {
        return "Could not write " + QuotedName(parent.path() / name) + ": it holds " + what +
               "; choose another name, or give --overwrite to replace it";
    };
    for (const std::string& name : parent.names()) {
        if (!gis::IsResultFile(shown(), m_layers, name))
            continue;
        if (const auto file = parent.entry(name); file && m_inputs.holds(*file))
            return refuse(name, "the lines this run reads");
    }
    for (const std::string& name : gis::ResultDataFiles(shown(), m_layers)) {
        const std::optional<struct stat> file = parent.entry(name);
        if (!file)
            continue;
        const std::optional<std::string> foreign =
            S_ISREG(file->st_mode) ? gis::ForeignContent(shown(), m_layers, parent.path() / name)
                                   : std::optional<std::string>("something other than a file");
        if (foreign)
            return refuse(name, *foreign + ", which vantrel-cli did not write");
    }
    return std::nullopt;
}

std::optional<std::string> LayerOutput::write(const gis::ResultLayers& results) {
    return write([&results](const fs::path& folder, const fs::path& target) {
        return gis::WriteResultLayers(folder, target, results);
    });
}

std::optional<std::string> LayerOutput::write(const FolderWriter& writer) {
    if (auto fault = writer(m_place->folder.path() / m_stagingName, shown()))
        return fault;
    m_staging->syncAll();
    return std::nullopt;
}

std::optional<std::string> LayerOutput::commit() {
    const std::lock_guard lock(m_mutex);
    if (!m_staging)
        return "Could not write " + QuotedName(shown()) + ": the run was interrupted";
    const HeldFolder& parent = m_place->folder;
    std::string list;
    for (const std::string& name : m_staging->names())
        list += name + '\n';
    if (auto reason = WriteFileIn(*m_staging, kFileList, [&](std::ostream& out) { out << list; }))
        return "Could not write " + QuotedName(shown()) + ": " + *reason;
    m_staging->sync();
    // From here the move is recorded: if it is cut short, the next run finishes it.
    const std::string commitName = SiblingName(m_place->name, kCommitSuffix);
    if (!parent.rename(m_stagingName, parent, commitName))
        return "Could not write " + QuotedName(shown()) + ": " + std::strerror(errno);
    m_committed = true;
    parent.sync();
    return FinishCommit(parent, shown(), m_layers, commitName);
}

void LayerOutput::discard() {
    const std::lock_guard lock(m_mutex);
    if (m_staging && !m_committed)
        m_place->folder.removeTree(m_stagingName);
    m_staging.reset();
}

} // namespace vantrel::cli

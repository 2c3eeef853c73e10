#include "cli/sibling_names.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

namespace vantrel::cli {

namespace fs = std::filesystem;

namespace {

std::string SiblingPrefix(const fs::path& target) {
    return '.' + target.filename().string() + ".vantrel-";
}

} // namespace

fs::path Sibling(const fs::path& target, std::string_view suffix) {
    return target.parent_path() /
           (SiblingPrefix(target) + std::to_string(getpid()) + std::string(suffix));
}

std::optional<std::pair<pid_t, std::string_view>> SiblingOwner(const fs::path& target,
                                                               const std::string& name) {
    const std::string prefix = SiblingPrefix(target);
    if (!name.starts_with(prefix))
        return std::nullopt;
    const char* const first = name.data() + prefix.size();
    const char* const last = name.data() + name.size();
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(first, last, pid);
    if (error != std::errc() || end == first)
        return std::nullopt;
    const std::string_view suffix(end, last);
    if (suffix != kStagingSuffix && suffix != kAsideSuffix)
        return std::nullopt;
    return std::pair{pid, suffix};
}

bool ProcessIsAlive(pid_t pid) {
    return kill(pid, 0) == 0 || errno == EPERM;
}

void RemoveTree(const fs::path& path) {
    std::error_code ignored;
    // Files a writer adds while the tree is removed make the last step fail once.
    for (int attempt = 0; attempt < 3 && fs::exists(path, ignored); ++attempt)
        fs::remove_all(path, ignored);
}

} // namespace vantrel::cli

#include "cli/sibling_names.h"

#include <unistd.h>

#include <charconv>

namespace vantrel::cli {

namespace {

std::string SiblingPrefix(const std::string& target) {
    return '.' + target + ".vantrel-";
}

} // namespace

std::string SiblingName(const std::string& target, std::string_view suffix) {
    return SiblingPrefix(target) + std::to_string(getpid()) + std::string(suffix);
}

std::optional<std::pair<pid_t, std::string_view>> SiblingOwner(const std::string& target,
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
    if (suffix != kStagingSuffix && suffix != kAsideSuffix && suffix != kCommitSuffix)
        return std::nullopt;
    return std::pair{pid, suffix};
}

} // namespace vantrel::cli

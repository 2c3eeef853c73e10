// Names beside an output that carry the output's name and the process that made them, so that a
// later run can tell a leftover of a killed run from one another run is still writing:
// .NAME.vantrel-PID.partial for what is being written, .NAME.vantrel-PID.old for what it replaces.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vantrel::cli {

inline constexpr std::string_view kStagingSuffix = ".partial";
inline constexpr std::string_view kAsideSuffix = ".old";

// This process's sibling of `target` with the suffix.
std::filesystem::path Sibling(const std::filesystem::path& target, std::string_view suffix);

// The process that made a sibling and its suffix, or nothing when the name is not such a sibling.
std::optional<std::pair<pid_t, std::string_view>> SiblingOwner(const std::filesystem::path& target,
                                                               const std::string& name);

bool ProcessIsAlive(pid_t pid);

// Removes a folder and all in it, whatever fails.
void RemoveTree(const std::filesystem::path& path);

} // namespace vantrel::cli

// Names beside an output that carry the output's name and the process that made them, so that a
// later run can tell a leftover of a killed run from one another run is still writing:
// .NAME.vantrel-PID.partial for what is being written, .NAME.vantrel-PID.old for what it replaces,
// .NAME.vantrel-PID.commit for files being put in place.
#pragma once

#include "core/host/processes.h"

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vantrel::cli {

inline constexpr std::string_view kStagingSuffix = ".partial";
inline constexpr std::string_view kAsideSuffix = ".old";
inline constexpr std::string_view kCommitSuffix = ".commit";

// This process's sibling of the output named `target` with the suffix.
std::string SiblingName(const std::string& target, std::string_view suffix);

// The process that made a sibling and its suffix, or nothing when the name is not such a sibling.
std::optional<std::pair<pid_t, std::string_view>> SiblingOwner(const std::string& target,
                                                               const std::string& name);

} // namespace vantrel::cli

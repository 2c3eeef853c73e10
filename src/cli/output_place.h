// Where a run's output goes: the folder that holds it, held open, and its name there; and the
// files the run reads, which no output may replace unasked.
#pragma once

#include "cli/held_folder.h"

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::cli {

struct OutputPlace {
    HeldFolder folder;
    std::string name;
    std::filesystem::path path() const { return folder.path() / name; }
};

// `target` made absolute; when its last part is a link of the user running the tool, what the
// link names. A link another user owns is refused, as the system's protected links are: it may
// have been put there to send the output elsewhere. The folder that holds the output is made when
// missing. On failure, `fault` is set, through `cannotWrite` for a reason about `target`.
std::optional<OutputPlace>
FindOutputPlace(const std::filesystem::path& target,
                const std::function<std::string(const std::string& reason)>& cannotWrite,
                std::string& fault);

// The files a run reads, by what they are rather than by name.
class InputFiles {
public:
    explicit InputFiles(const std::vector<std::filesystem::path>& files);
    bool holds(const struct stat& file) const;

private:
    std::vector<std::pair<dev_t, ino_t>> m_files;
};

} // namespace vantrel::cli

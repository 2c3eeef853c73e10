// The output folder of one run, written whole or not at all: every file goes into a staging
// folder beside the target, which takes the target's place only when all of them are written.
// Everything is done inside the folder that holds the target, held open from the start.
#pragma once

#include "cli/output_place.h"

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace vantrel::cli {

class OutputFolder {
public:
    // `ownNames` are the files a run writes; a folder holding anything else, or any of `inputs`,
    // was not made by the tool and is replaced only when `overwrite` is set.
    OutputFolder(std::filesystem::path target, std::span<const std::string_view> ownNames,
                 bool overwrite, InputFiles inputs);
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;
    // Removes the staging folder unless the run was committed.
    ~OutputFolder();

    // Checks that the target can be replaced, removes what an earlier killed run left beside it
    // and makes the staging folder, so that an unwritable place is found before any work.
    std::optional<std::string> prepare();

    // Writes one file of the run into the staging folder; a failure names the file as it would
    // be in the target.
    std::optional<std::string> write(std::string_view name,
                                     const std::function<void(std::ostream&)>& writer);

    // Puts the staging folder in the target's place and removes the previous folder.
    std::optional<std::string> commit();

    // Removes the staging folder unless committed; safe from another thread at any time.
    void discard();

private:
    std::optional<std::string> checkTarget() const;
    void removeLeftovers() const;
    std::optional<std::string> swapIn();
    std::filesystem::path shown() const;

    std::filesystem::path m_target;
    std::span<const std::string_view> m_ownNames;
    bool m_overwrite;
    InputFiles m_inputs;
    std::optional<OutputPlace> m_place;
    std::string m_stagingName;
    std::optional<HeldFolder> m_staging;
    std::mutex m_mutex;
    bool m_committed = false;
};

} // namespace vantrel::cli

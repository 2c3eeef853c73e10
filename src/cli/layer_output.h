// The GIS files of one run, put in place only when all of them are written: they are written
// into a staging folder beside the target, then moved beside it, replacing files of the same
// names, so that a failure or an interruption leaves no partial file. The move of several files
// is recorded first: a run killed half-way through it leaves a record that the next run into the
// same place follows to the end, so that no set mixes old and new files for longer.
#pragma once

#include "cli/output_place.h"
#include "gis/result_layers.h"

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::cli {

class LayerOutput {
public:
    // The run writes `layers` (as gis::IsResultFile takes them). Existing files that hold
    // anything a run does not write, or any of `inputs`, are replaced only when `overwrite` is set.
    LayerOutput(std::filesystem::path target, std::vector<std::string> layers, bool overwrite,
                InputFiles inputs);
    LayerOutput(const LayerOutput&) = delete;
    LayerOutput& operator=(const LayerOutput&) = delete;
    ~LayerOutput();

    // Checks the files the run would replace, finishes or removes what an earlier killed run
    // left beside the target, and makes the staging folder, so that an unwritable place is found
    // before any work.
    std::optional<std::string> prepare();
    std::optional<std::string> write(const gis::ResultLayers& results);
    // Writes through `writer`, given the staging folder and the target.
    using FolderWriter = std::function<std::optional<std::string>(
        const std::filesystem::path& folder, const std::filesystem::path& target)>;
    std::optional<std::string> write(const FolderWriter& writer);
    // Moves the files into place.
    std::optional<std::string> commit();
    // Removes the staging folder unless committed; safe from another thread at any time.
    void discard();

private:
    std::optional<std::string> checkReplaced() const;
    std::filesystem::path shown() const;

    std::filesystem::path m_target;
    std::vector<std::string> m_layers;
    bool m_overwrite;
    InputFiles m_inputs;
    std::optional<OutputPlace> m_place;
    std::string m_stagingName;
    std::optional<HeldFolder> m_staging;
    std::mutex m_mutex;
    bool m_committed = false;
};

} // namespace vantrel::cli

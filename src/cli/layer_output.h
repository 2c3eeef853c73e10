// The GIS files of one run, put in place only when all of them are written: they are written
// into a staging folder beside the target and then moved beside it, replacing files of the same
// names, so that a failure or an interruption leaves no partial file.
#pragma once

#include "gis/result_layers.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace vantrel::cli {

class LayerOutput {
public:
    explicit LayerOutput(std::filesystem::path target);
    LayerOutput(const LayerOutput&) = delete;
    LayerOutput& operator=(const LayerOutput&) = delete;
    ~LayerOutput();

    // Removes what an earlier killed run left beside the target and makes the staging folder, so
    // that an unwritable place is found before any work.
    std::optional<std::string> prepare();
    std::optional<std::string> write(const gis::ResultLayers& results);
    // Where files of other kinds are written before commit() moves them beside the target.
    const std::filesystem::path& stagingFolder() const { return m_staging; }
    // Moves the files into place.
    std::optional<std::string> commit();
    // Removes the staging folder; safe from another thread at any time.
    void discard();

private:
    std::filesystem::path m_target;
    std::filesystem::path m_staging;
    std::mutex m_mutex;
};

} // namespace vantrel::cli

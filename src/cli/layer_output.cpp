#include "cli/layer_output.h"

#include "cli/sibling_names.h"
#include "core/host/quoted_text.h"

namespace vantrel::cli {

namespace fs = std::filesystem;

LayerOutput::LayerOutput(fs::path target)
    : m_target(std::move(target)), m_staging(Sibling(m_target, kStagingSuffix)) {}

LayerOutput::~LayerOutput() {
    discard();
}

std::optional<std::string> LayerOutput::prepare() {
    const fs::path folder = m_target.parent_path().empty() ? "." : m_target.parent_path();
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const auto owner = SiblingOwner(m_target, entry.path().filename().string());
        if (owner && !ProcessIsAlive(owner->first))
            RemoveTree(entry.path());
    }
    const std::lock_guard lock(m_mutex);
    if (!fs::create_directory(m_staging, error) || error)
        return "Could not write " + QuotedName(m_target) + ": " +
               (error ? error.message() : "a folder of its staging name exists");
    return std::nullopt;
}

std::optional<std::string> LayerOutput::write(const gis::ResultLayers& results) {
    return gis::WriteResultLayers(m_staging, m_target, results);
}

std::optional<std::string> LayerOutput::write(const gis::LineLayer& layer) {
    return gis::WriteLineLayer(m_staging, m_target, layer);
}

std::optional<std::string> LayerOutput::commit() {
    const std::lock_guard lock(m_mutex);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_staging, error)) {
        const fs::path placed = m_target.parent_path() / entry.path().filename();
        fs::rename(entry.path(), placed, error);
        if (error)
            return "Could not write " + QuotedName(placed) + ": " + error.message();
    }
    if (error)
        return "Could not write " + QuotedName(m_target) + ": " + error.message();
    RemoveTree(m_staging);
    return std::nullopt;
}

void LayerOutput::discard() {
    const std::lock_guard lock(m_mutex);
    RemoveTree(m_staging);
}

} // namespace vantrel::cli

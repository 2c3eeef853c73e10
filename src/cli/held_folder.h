// A folder held open while a run works in it: every name is looked up inside the folder it was
// opened as, and no link is followed, so that a name on the way to it changed meanwhile (a link
// another user swaps in) cannot send a rename or a removal elsewhere.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vantrel::cli {

class HeldFolder {
public:
    // Opens the folder at `path`; the links on the way are followed by the system, under its own
    // rules. The reason on failure.
    static std::optional<HeldFolder> open(const std::filesystem::path& path, std::string& reason);
    // Opens the folder `name` inside `parent`, which must not be a link.
    static std::optional<HeldFolder> open(const HeldFolder& parent, const std::string& name);

    HeldFolder(HeldFolder&& other) noexcept;
    HeldFolder& operator=(HeldFolder&& other) noexcept;
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;
    ~HeldFolder();

    int descriptor() const { return m_descriptor; }
    // The path it was opened as: for messages and for writers that take paths only.
    const std::filesystem::path& path() const { return m_path; }

    // What `name` is, itself rather than what a link names; nothing when there is no such entry.
    std::optional<struct stat> entry(const std::string& name) const;
    // The names inside, but for "." and "..".
    std::vector<std::string> names() const;
    // Renames `from` to `to` inside `into`, replacing a file there; errno on failure.
    bool rename(const std::string& from, const HeldFolder& into, const std::string& to) const;
    // Removes `name` and, for a folder, everything in it, whatever fails.
    void removeTree(const std::string& name) const;
    // Flushes the folder's entries to the disk; some file systems refuse, which changes nothing.
    void sync() const;
    // Flushes every file inside, then the folder.
    void syncAll() const;

private:
    HeldFolder(int descriptor, std::filesystem::path path);

    int m_descriptor = -1;
    std::filesystem::path m_path;
};

// The whole text of the file `name` in `folder`, not through a link; nothing when unreadable.
std::optional<std::string> ReadFileIn(const HeldFolder& folder, const std::string& name);

// Opens `name` in `folder` for writing (created or emptied, never through a link) and runs
// `write` on it; the file reaches the disk before the result returns. The reason on failure.
std::optional<std::string> WriteFileIn(const HeldFolder& folder, const std::string& name,
                                       const std::function<void(std::ostream&)>& write);

} // namespace vantrel::cli

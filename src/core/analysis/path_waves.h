// What a choice search keeps of one batch of up to 64 sources searched together (see LineWaves):
// a value per line and source, and the lines of every level with their links onto deeper lines,
// for the walk back from the deepest level.
#pragma once

#include "core/analysis/line_waves.h"

#include <bit>
#include <cstddef>
#include <span>
#include <vector>

namespace vantrel::analysis {

template <class Visit> void ForEachBit(SourceBits bits, Visit&& visit) {
    for (; bits != 0; bits &= bits - 1)
        visit(std::countr_zero(bits));
}

// One value per line and source bit, in a row of 64 per line.
class SourceRows {
public:
    explicit SourceRows(int lineCount)
        : m_cells(static_cast<std::size_t>(lineCount) * kSourcesPerWave, 0.0) {}

    double* operator[](int line) { return m_cells.data() + offset(line); }
    const double* operator[](int line) const { return m_cells.data() + offset(line); }

private:
    static std::size_t offset(int line) { return static_cast<std::size_t>(line) * kSourcesPerWave; }

    std::vector<double> m_cells;
};

// The lines of every level in the order reached, each with the sources that reach it there and
// its links onto deeper lines.
template <class Link> class LevelRecord {
public:
    struct Entry {
        int line;
        SourceBits bits;
        std::size_t linksEnd;
    };

    void clear() {
        m_entries.clear();
        m_links.clear();
        m_levelStart.assign(1, 0);
    }

    void addLink(const Link& link) { m_links.push_back(link); }
    // A line of the current level, after its links.
    void addLine(int line, SourceBits bits) { m_entries.push_back({line, bits, m_links.size()}); }
    void closeLevel() { m_levelStart.push_back(m_entries.size()); }

    std::size_t levelCount() const { return m_levelStart.size() - 1; }
    std::span<const Entry> level(std::size_t level) const {
        return {m_entries.data() + m_levelStart[level],
                m_levelStart[level + 1] - m_levelStart[level]};
    }
    std::span<const Entry> entries() const { return m_entries; }
    // The links of an entry of this record.
    std::span<const Link> links(const Entry& entry) const {
        const std::size_t begin = &entry == m_entries.data() ? 0 : (&entry - 1)->linksEnd;
        return {m_links.data() + begin, entry.linksEnd - begin};
    }

private:
    std::vector<Entry> m_entries;
    std::vector<Link> m_links;
    std::vector<std::size_t> m_levelStart{0};
};

} // namespace vantrel::analysis

// Breadth-first search over the lines from up to 64 sources at once, one bit of a word per
// source: a level costs one pass over the lines it reaches, whatever the number of sources.
#pragma once

#include "core/analysis/map_graph.h"
#include "core/analysis/source_words.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace vantrel::analysis {

// One instance per thread, reused batch after batch. A batch starts its lines, then for each
// level reads the lines of the level with their fresh bits, calls reach() for the lines one step
// further, and calls nextLevel(); when no line is left the waves are ready for the next batch.
class LineWaves {
public:
    explicit LineWaves(const MapGraph& graph) : LineWaves(graph.lineCount()) {}
    explicit LineWaves(int lineCount)
        : m_state(lineCount), m_next(lineCount, 0), m_lines(lineCount + 1),
          m_nextLines(lineCount + 1), m_visited(lineCount + 1) {}

    // Puts a line at level 0 of the source with the given bit.
    void start(int line, int bit) {
        m_lines[m_lineCount] = line;
        m_lineCount += m_state[line].fresh == 0;
        m_state[line].fresh |= SourceBits{1} << bit;
    }

    // The lines that some source first reaches at the current level.
    std::span<const int> lines() const { return {m_lines.data(), m_lineCount}; }
    // The sources that first reach a line at the current level; 0 for lines not in lines().
    SourceBits fresh(int line) const { return m_state[line].fresh; }
    // The sources that reached a line at a lower level.
    SourceBits seenBefore(int line) const { return m_state[line].seen; }

    // The sources of the bits reach a line at the next level, unless they have reached it before.
    // Branch-free: the line is always written to the list and kept when first touched.
    void reach(int line, SourceBits bits) {
        m_nextLines[m_touched] = line;
        m_touched += m_next[line] == 0;
        m_next[line] |= bits;
    }

    void nextLevel() {
        for (int line : lines()) {
            m_visited[m_visitedCount] = line;
            m_visitedCount += m_state[line].seen == 0;
            m_state[line].seen |= m_state[line].fresh;
            m_state[line].fresh = 0;
        }
        std::size_t kept = 0;
        for (std::size_t i = 0; i < m_touched; ++i) {
            const int line = m_nextLines[i];
            const SourceBits bits = m_next[line] & ~m_state[line].seen;
            m_next[line] = 0;
            m_state[line].fresh = bits;
            m_nextLines[kept] = line;
            kept += bits != 0;
        }
        std::swap(m_lines, m_nextLines);
        m_lineCount = kept;
        m_touched = 0;
        // The search is over: only the lines it reached are cleared, so that a batch reaching
        // few lines costs little on a large map.
        if (kept == 0) {
            for (std::size_t i = 0; i < m_visitedCount; ++i)
                m_state[m_visited[i]] = LineState{};
            m_visitedCount = 0;
        }
    }

private:
    // Side by side, as the search of junctions reads both of a line at once.
    struct LineState {
        SourceBits seen = 0;
        SourceBits fresh = 0;
    };

    std::vector<LineState> m_state;
    std::vector<SourceBits> m_next;
    std::vector<int> m_lines;
    std::vector<int> m_nextLines;
    // Every line the search has reached, once.
    std::vector<int> m_visited;
    std::size_t m_visitedCount = 0;
    std::size_t m_lineCount = 0;
    std::size_t m_touched = 0;
};

} // namespace vantrel::analysis

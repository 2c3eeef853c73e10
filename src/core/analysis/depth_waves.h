// Breadth-first searches over the lines from a batch of sources at once, one bit of a word per
// source, telling what each source first reaches at each depth.
#pragma once

#include "core/analysis/line_layout.h"
#include "core/analysis/source_words.h"

#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace vantrel::analysis {

// One instance per thread, reused batch after batch; lines are positions of the layout. A search
// calls record.add(item, bits) for each item (a map's line or junction) that the sources of the
// bits first reach at the depth being recorded, and record.closeDepth() after each depth, from
// depth 1 to the deepest.
//
// A level costs one pass over the lines it reaches, each reading its neighbours: a neighbour
// keeps, side by side, the sources that reached it before, those that reach it at this level and
// those that will at the next, so that one read tells which bits are new and one write passes
// them on. The roles of the last two swap from level to level.
template <class Word> class DepthWaves {
public:
    explicit DepthWaves(const LineLayout& layout)
        : m_layout(layout), m_state(layout.lineCount()), m_lines(layout.lineCount() + 1),
          m_nextLines(layout.lineCount() + 1), m_visited(layout.lineCount() + 1) {}

    // From the lines at `sources`, source i with bit i; the items are the lines.
    template <class Record> void searchLines(std::span<const int> sources, Record& record) {
        for (std::size_t bit = 0; bit < sources.size(); ++bit)
            start(sources[bit], static_cast<int>(bit));
        for (int depth = 0; m_lineCount > 0; ++depth) {
            const int parity = depth & 1;
            LineState* const state = m_state.data();
            int* const nextLines = m_nextLines.data();
            std::size_t nextCount = 0;
            for (std::size_t i = 0; i < m_lineCount; ++i) {
                const int line = m_lines[i];
                const Word bits = state[line].fresh[parity];
                if (depth > 0)
                    record.add(m_layout.lineAt(line), bits);
                for (const int neighbour : m_layout.neighbours(line))
                    reach(state[neighbour], neighbour, bits, parity, nextLines, nextCount);
            }
            if (depth > 0)
                record.closeDepth();
            nextLevel(parity, nextCount);
        }
        clear();
    }

    // From the junctions whose lines are at `sourceLines` (-1 for none), source i with bit i; the
    // items are the junctions. The depth of a junction from another is 1 + the smallest line depth
    // from a line of the one to a line of the other, so the search starts from both lines of each
    // source at level 0 and reaches a junction at the level of the first of its lines. A junction
    // whose two lines are reached at the same level is recorded from the line at the lower
    // position.
    template <class Record>
    void searchJunctions(std::span<const std::array<int, 2>> sourceLines, Record& record) {
        for (std::size_t bit = 0; bit < sourceLines.size(); ++bit) {
            for (const int line : sourceLines[bit]) {
                if (line >= 0)
                    start(line, static_cast<int>(bit));
            }
        }
        for (int depth = 0; m_lineCount > 0; ++depth) {
            const int parity = depth & 1;
            LineState* const state = m_state.data();
            int* const nextLines = m_nextLines.data();
            std::size_t nextCount = 0;
            for (std::size_t i = 0; i < m_lineCount; ++i) {
                const int line = m_lines[i];
                const Word bits = state[line].fresh[parity];
                const auto crossings = m_layout.crossings(line);
                const int* const across = crossings.across.data();
                const int* const junctions = crossings.junctions.data();
                // A junction to a line at a lower position is recorded here when that line was not
                // reached before and is not reached at this level: then the line is reached anew.
                for (std::size_t k = 0; k < crossings.higherFrom; ++k) {
                    LineState& next = state[across[k]];
                    const Word reached = bits & ~(next.seen | next.fresh[parity]);
                    record.add(junctions[k], reached);
                    pass(next, across[k], reached, parity, nextLines, nextCount);
                }
                for (std::size_t k = crossings.higherFrom; k < crossings.loneFrom; ++k) {
                    LineState& next = state[across[k]];
                    record.add(junctions[k], bits & ~next.seen);
                    reach(next, across[k], bits, parity, nextLines, nextCount);
                }
                for (std::size_t k = crossings.loneFrom; k < crossings.junctions.size(); ++k)
                    record.add(junctions[k], bits);
            }
            record.closeDepth();
            nextLevel(parity, nextCount);
        }
        clear();
    }

private:
    struct alignas(sizeof(Word)) LineState {
        Word seen{};
        Word fresh[2] = {};
    };

    void start(int line, int bit) {
        m_lines[m_lineCount] = line;
        m_lineCount += NoBits(m_state[line].fresh[0]);
        SetSourceBit(m_state[line].fresh[0], bit);
    }

    // The bits that are new to a line go to its next level's bits; a line that gets its first
    // ones is listed for the next level, without a branch.
    static void reach(LineState& next, int line, const Word& bits, int parity, int* nextLines,
                      std::size_t& nextCount) {
        pass(next, line, bits & ~(next.seen | next.fresh[parity]), parity, nextLines, nextCount);
    }

    // `reached` holds only bits that are new to the line.
    static void pass(LineState& next, int line, const Word& reached, int parity, int* nextLines,
                     std::size_t& nextCount) {
        const Word before = next.fresh[parity ^ 1];
        const Word after = before | reached;
        next.fresh[parity ^ 1] = after;
        nextLines[nextCount] = line;
        // 1 when the line had no bits for the next level and now has some.
        nextCount += static_cast<unsigned>(NoBits(before)) - static_cast<unsigned>(NoBits(after));
    }

    void nextLevel(int parity, std::size_t nextCount) {
        for (std::size_t i = 0; i < m_lineCount; ++i) {
            LineState& state = m_state[m_lines[i]];
            m_visited[m_visitedCount] = m_lines[i];
            m_visitedCount += NoBits(state.seen);
            state.seen |= state.fresh[parity];
            state.fresh[parity] = Word{};
        }
        m_lines.swap(m_nextLines);
        m_lineCount = nextCount;
    }

    // Only the lines the search reached are cleared, so that a batch reaching few lines costs
    // little on a large map.
    void clear() {
        for (std::size_t i = 0; i < m_visitedCount; ++i)
            m_state[m_visited[i]].seen = Word{};
        m_visitedCount = 0;
    }

    const LineLayout& m_layout;
    std::vector<LineState> m_state;
    // The lines of the current level and of the next, each once; one cell more for the write
    // that lists a line without a branch.
    std::vector<int> m_lines;
    std::vector<int> m_nextLines;
    std::size_t m_lineCount = 0;
    // Every line the search has reached, once (and the spare cell).
    std::vector<int> m_visited;
    std::size_t m_visitedCount = 0;
};

} // namespace vantrel::analysis

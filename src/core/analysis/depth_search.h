// Breadth-first searches that report every item reached from one source with its depth.
#pragma once

#include "core/analysis/map_graph.h"

#include <vector>

namespace vantrel::analysis {

// Searches over the lines, level by level; one instance per thread. Lines not yet reached hold
// level -1; a search resets only the lines it reached.
class LineLevels {
public:
    explicit LineLevels(int lineCount) : m_level(lineCount, -1) { m_queue.reserve(lineCount); }

protected:
    std::vector<int> m_level;
    std::vector<int> m_queue;

    void reset() {
        for (int line : m_queue) {
            m_level[line] = -1;
        }
        m_queue.clear();
    }
};

// Primal: two lines are one step apart when they share a junction.
class LineSearch : LineLevels {
public:
    explicit LineSearch(const MapGraph& graph) : LineLevels(graph.lineCount()), m_graph(graph) {}

    static int itemCount(const MapGraph& graph) { return graph.lineCount(); }

    // Calls visit(line, depth) for every other line reached, by nondecreasing depth.
    template <class Visit> void run(int source, Visit&& visit) {
        m_level[source] = 0;
        m_queue.push_back(source);
        for (std::size_t head = 0; head < m_queue.size(); ++head) {
            const int line = m_queue[head];
            const int next = m_level[line] + 1;
            for (int across : m_graph.linesAcross(line)) {
                if (across >= 0 && m_level[across] < 0) {
                    m_level[across] = next;
                    m_queue.push_back(across);
                    visit(across, next);
                }
            }
        }
        reset();
    }

private:
    const MapGraph& m_graph;
};

// Dual: two junctions are one step apart when they lie on a common line. The depth of junction b
// from junction a is 1 + the smallest line depth from a line of a to a line of b, so one search
// over the lines, started from both lines of a at level 0, finds every junction: b is reached
// when the first of its lines is taken from the queue. No junction is visited twice and no
// junction-by-junction table is needed.
class JunctionSearch : LineLevels {
public:
    explicit JunctionSearch(const MapGraph& graph)
        : LineLevels(graph.lineCount()), m_graph(graph) {}

    static int itemCount(const MapGraph& graph) { return graph.junctionCount(); }

    // Calls visit(junction, depth) for every other junction reached, by nondecreasing depth.
    template <class Visit> void run(int source, Visit&& visit) {
        for (int line : m_graph.linesOf(source)) {
            m_level[line] = 0;
            m_queue.push_back(line);
        }
        for (std::size_t head = 0; head < m_queue.size(); ++head) {
            const int line = m_queue[head];
            const int level = m_level[line];
            const auto junctions = m_graph.junctionsOn(line);
            const auto across = m_graph.linesAcross(line);
            for (std::size_t i = 0; i < junctions.size(); ++i) {
                const int other = across[i];
                const int otherLevel = other >= 0 ? m_level[other] : -1;
                // A junction on two lines of one level is taken from the lower-numbered one.
                const bool firstReached = otherLevel < 0 || otherLevel > level ||
                                          (otherLevel == level && line < other);
                if (firstReached && junctions[i] != source) {
                    visit(junctions[i], level + 1);
                }
                if (other >= 0 && otherLevel < 0) {
                    m_level[other] = level + 1;
                    m_queue.push_back(other);
                }
            }
        }
        reset();
    }

private:
    const MapGraph& m_graph;
};

} // namespace vantrel::analysis

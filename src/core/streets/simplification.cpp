#include "core/streets/simplification.h"

#include "core/streets/segment_grid.h"
#include "core/streets/snapping.h"
#include "core/streets/tidy.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace vantrel::streets {

namespace {

class ChainSimplifier {
public:
    ChainSimplifier(StreetNetwork& network, double angle, std::optional<double> snapDistance)
        : m_network(network), m_angle(angle), m_snapDistance(snapDistance),
          m_grid(network, snapDistance.value_or(0)) {}

    // One pass over the whole map; returns whether it replaced any pieces.
    bool pass() {
        findMergeable();
        buildIncidence();
        m_chords.clear();
        bool replaced = false;
        std::vector<bool> visited(m_network.segmentCount(), false);
        const int segmentCount = m_network.segmentCount();
        for (int index = 0; index < segmentCount; ++index) {
            if (visited[index] || !m_network.segment(index).alive)
                continue;
            collectChain(index);
            for (const int piece : m_pieces)
                visited[piece] = true;
            if (m_pieces.size() >= 2)
                place(0, static_cast<int>(m_pieces.size()), replaced);
        }
        return replaced;
    }

private:
    // A vertex of exactly two segments of some length, not the same one, turning by less than
    // the angle; its two segments in m_first and m_second.
    void findMergeable() {
        const int vertexCount = m_network.vertexCount();
        m_first.assign(vertexCount, -1);
        m_second.assign(vertexCount, -1);
        for (int index = 0; index < m_network.segmentCount(); ++index) {
            const Segment& segment = m_network.segment(index);
            if (!segment.alive || segment.from == segment.to)
                continue;
            for (const int vertex : {segment.from, segment.to})
                (m_first[vertex] < 0 ? m_first : m_second)[vertex] = index;
        }
        m_mergeable.assign(vertexCount, false);
        for (int vertex = 0; vertex < vertexCount; ++vertex) {
            if (m_network.degree(vertex) != 2 || m_second[vertex] < 0)
                continue;
            const int before = m_network.segment(m_first[vertex]).other(vertex);
            const int after = m_network.segment(m_second[vertex]).other(vertex);
            m_mergeable[vertex] = TurnDegrees(m_network.point(before), m_network.point(vertex),
                                              m_network.point(after)) < m_angle;
        }
    }

    // Every vertex's alive segments, for the question whether two vertices are joined.
    void buildIncidence() {
        m_starts.assign(m_network.vertexCount() + 1, 0);
        for (int index = 0; index < m_network.segmentCount(); ++index) {
            const Segment& segment = m_network.segment(index);
            if (segment.alive) {
                ++m_starts[segment.from + 1];
                ++m_starts[segment.to + 1];
            }
        }
        for (std::size_t at = 1; at < m_starts.size(); ++at)
            m_starts[at] += m_starts[at - 1];
        m_incident.assign(m_starts.back(), 0);
        std::vector<int> fill(m_starts.begin(), m_starts.end() - 1);
        for (int index = 0; index < m_network.segmentCount(); ++index) {
            const Segment& segment = m_network.segment(index);
            if (segment.alive) {
                m_incident[fill[segment.from]++] = index;
                m_incident[fill[segment.to]++] = index;
            }
        }
    }

    // The chain through `start`: its pieces in order in m_pieces and its vertices in m_vertices
    // (one more than the pieces; the first and last are equal for a closed chain).
    void collectChain(int start) {
        const auto walk = [&](int vertex, int from, std::vector<int>& pieces,
                              std::vector<int>& vertices) {
            while (m_mergeable[vertex]) {
                const int next = m_first[vertex] == from ? m_second[vertex] : m_first[vertex];
                if (next == start)
                    return true;
                pieces.push_back(next);
                vertex = m_network.segment(next).other(vertex);
                vertices.push_back(vertex);
                from = next;
            }
            return false;
        };
        const Segment& segment = m_network.segment(start);
        std::vector<int> forwardPieces, forwardVertices{segment.to};
        const bool closed = walk(segment.to, start, forwardPieces, forwardVertices);
        std::vector<int> backPieces, backVertices{segment.from};
        if (!closed)
            walk(segment.from, start, backPieces, backVertices);
        m_pieces.assign(backPieces.rbegin(), backPieces.rend());
        m_pieces.push_back(start);
        m_pieces.insert(m_pieces.end(), forwardPieces.begin(), forwardPieces.end());
        m_vertices.assign(backVertices.rbegin(), backVertices.rend());
        m_vertices.insert(m_vertices.end(), forwardVertices.begin(), forwardVertices.end());
        if (closed)
            startClosedChainAtLowestVertex();
        else if (Before(m_network.point(m_vertices.back()), m_network.point(m_vertices.front())))
            reverseChain();
    }

    // So that a chain is split where it is whichever way it was found.
    void reverseChain() {
        std::reverse(m_vertices.begin(), m_vertices.end());
        std::reverse(m_pieces.begin(), m_pieces.end());
    }

    // A closed chain starts and ends at its lowest vertex and runs first towards the lower of
    // that vertex's neighbours, whatever piece it was found from.
    void startClosedChainAtLowestVertex() {
        m_vertices.pop_back();
        const auto lowest =
            std::min_element(m_vertices.begin(), m_vertices.end(), [&](int a, int b) {
                return Before(m_network.point(a), m_network.point(b));
            });
        const auto shift = lowest - m_vertices.begin();
        std::rotate(m_vertices.begin(), lowest, m_vertices.end());
        std::rotate(m_pieces.begin(), m_pieces.begin() + shift, m_pieces.end());
        m_vertices.push_back(m_vertices.front());
        if (Before(m_network.point(m_vertices[m_vertices.size() - 2]),
                   m_network.point(m_vertices[1])))
            reverseChain();
    }

    // Replaces pieces [first, last) of the chain by one segment, or splits them and tries again.
    void place(int first, int last, bool& replaced) {
        if (last - first < 2)
            return;
        const int from = m_vertices[first], to = m_vertices[last];
        if (from != to && !joined(from, to) && !liesAlongAnother(first, last)) {
            const int chord = makeChord(first, last);
            if (!drawsAnEndToIt(chord)) {
                for (int piece = first; piece < last; ++piece)
                    m_network.remove(m_pieces[piece]);
                m_chords.insert(std::minmax(from, to));
                replaced = true;
                return;
            }
            m_network.remove(chord);
        }
        const int split = farthest(first, last);
        place(first, split, replaced);
        place(split, last, replaced);
    }

    bool joined(int a, int b) const {
        if (m_chords.count(std::minmax(a, b)))
            return true;
        for (int at = m_starts[a]; at < m_starts[a + 1]; ++at) {
            const Segment& segment = m_network.segment(m_incident[at]);
            if (segment.alive && segment.touches(b))
                return true;
        }
        return false;
    }

    bool liesAlongAnother(int first, int last) {
        const DoublePoint a = m_network.point(m_vertices[first]);
        const DoublePoint b = m_network.point(m_vertices[last]);
        bool along = false;
        m_grid.forEachNear(a, b, 0, [&](int other) {
            const Segment& segment = m_network.segment(other);
            if (along || !segment.alive || isPieceOf(other, first, last))
                return;
            along =
                OverlapAlongLine(a, b, m_network.point(segment.from), m_network.point(segment.to));
        });
        return along;
    }

    bool isPieceOf(int segment, int first, int last) const {
        return std::find(m_pieces.begin() + first, m_pieces.begin() + last, segment) !=
               m_pieces.begin() + last;
    }

    int makeChord(int first, int last) {
        int longest = first;
        for (int piece = first + 1; piece < last; ++piece)
            if (m_network.length(m_pieces[piece]) > m_network.length(m_pieces[longest]))
                longest = piece;
        // The chain's vertices run from `first` to `last`; the longest piece says which way.
        const bool forward = m_network.segment(m_pieces[longest]).from == m_vertices[longest];
        const int from = m_vertices[forward ? first : last],
                  to = m_vertices[forward ? last : first];
        const int chord = m_network.add(from, to, m_network.segment(m_pieces[longest]).source);
        m_grid.add(chord);
        return chord;
    }

    // True when snapping would now join an unconnected end to the new segment.
    bool drawsAnEndToIt(int chord) {
        if (!m_snapDistance)
            return false;
        const Segment& segment = m_network.segment(chord);
        std::vector<std::pair<int, int>> ends;
        m_grid.forEachNear(m_network.point(segment.from), m_network.point(segment.to),
                           *m_snapDistance, [&](int other) {
                               const Segment& near = m_network.segment(other);
                               if (!near.alive)
                                   return;
                               for (const int vertex : {near.from, near.to})
                                   if (m_network.degree(vertex) == 1 && mayReach(vertex, segment))
                                       ends.emplace_back(vertex, other);
                           });
        for (const auto& [end, own] : ends) {
            const std::optional<SnapTarget> target =
                FindSnapTarget(m_network, m_grid, end, own, *m_snapDistance);
            if (target)
                return true;
        }
        return false;
    }

    // Whether the end is near enough to the segment to be joined to it.
    bool mayReach(int end, const Segment& segment) const {
        const DoublePoint at = m_network.point(end);
        const DoublePoint a = m_network.point(segment.from), b = m_network.point(segment.to);
        return NearestOnSegment(at, a, b).distance <= *m_snapDistance || LiesInside(at, a, b);
    }

    // The inner vertex of the chain part farthest from the segment between its ends (from its
    // start when the part is closed); of equals, the lowest in (x, then y) order. Found the same
    // whichever way the part runs, so that a map prepared again is split where it was.
    int farthest(int first, int last) const {
        DoublePoint a = m_network.point(m_vertices[first]);
        DoublePoint b = m_network.point(m_vertices[last]);
        if (Before(b, a))
            std::swap(a, b);
        int best = first + 1;
        double bestDistance = -1;
        for (int at = first + 1; at < last; ++at) {
            const DoublePoint point = m_network.point(m_vertices[at]);
            const double distance = NearestOnSegment(point, a, b).distance;
            if (distance > bestDistance ||
                (distance == bestDistance && Before(point, m_network.point(m_vertices[best])))) {
                best = at;
                bestDistance = distance;
            }
        }
        return best;
    }

    StreetNetwork& m_network;
    double m_angle;
    std::optional<double> m_snapDistance;
    SegmentGrid m_grid;
    std::vector<int> m_first, m_second;
    std::vector<bool> m_mergeable;
    std::vector<int> m_starts, m_incident;
    std::set<std::pair<int, int>> m_chords;
    std::vector<int> m_pieces, m_vertices;
};

} // namespace

bool SimplifyChains(StreetNetwork& network, double angle, std::optional<double> snapDistance) {
    if (!(angle > 0))
        return false;
    ChainSimplifier simplifier(network, angle, snapDistance);
    bool changed = false;
    while (simplifier.pass())
        changed = true;
    return changed;
}

} // namespace vantrel::streets

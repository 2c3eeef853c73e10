#include "core/vga/isovist.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <queue>

namespace vantrel::vga {

namespace {

constexpr double kFullTurn = 2 * std::numbers::pi;

double AngleOf(DoublePoint direction) {
    const double angle = std::atan2(direction.y, direction.x);
    return angle < 0 ? angle + kFullTurn : angle;
}

double Cross(DoublePoint a, DoublePoint b) {
    return a.x * b.y - a.y * b.x;
}

double Length(DoublePoint a) {
    return std::hypot(a.x, a.y);
}

DoublePoint Minus(DoublePoint a, DoublePoint b) {
    return {a.x - b.x, a.y - b.y};
}

bool Near(DoublePoint a, DoublePoint b, double tolerance) {
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

// The distance from the origin to the segment ab.
double DistanceToSegment(DoublePoint a, DoublePoint b) {
    const DoublePoint edge = Minus(b, a);
    const double squared = edge.x * edge.x + edge.y * edge.y;
    if (squared == 0)
        return Length(a);
    const double along = std::clamp(-(a.x * edge.x + a.y * edge.y) / squared, 0.0, 1.0);
    return Length({a.x + along * edge.x, a.y + along * edge.y});
}

} // namespace

// The directions, as closed spans of angles within 0 .. 2 pi, in which walls already known hide
// everything that lies farther than all of them.
class IsovistMaker::Cover {
public:
    bool full() const {
        return m_spans.size() == 1 && m_spans.front().from <= 0 && m_spans.front().to >= kFullTurn;
    }
    bool contains(Span span) const {
        auto after = std::upper_bound(m_spans.begin(), m_spans.end(), span.from,
                                      [](double from, const Span& s) { return from < s.from; });
        return after != m_spans.begin() && std::prev(after)->to >= span.to;
    }
    void add(Span span) {
        auto first = std::lower_bound(m_spans.begin(), m_spans.end(), span.from,
                                      [](const Span& s, double from) { return s.to < from; });
        auto last = first;
        while (last != m_spans.end() && last->from <= span.to) {
            span.from = std::min(span.from, last->from);
            span.to = std::max(span.to, last->to);
            ++last;
        }
        m_spans.insert(m_spans.erase(first, last), span);
    }

private:
    std::vector<Span> m_spans;
};

IsovistMaker::IsovistMaker(const WallSet& walls, const Extent& frame) : m_walls(walls) {
    m_frame = {{frame.minX, frame.minY, frame.maxX, frame.minY},
               {frame.maxX, frame.minY, frame.maxX, frame.maxY},
               {frame.maxX, frame.maxY, frame.minX, frame.maxY},
               {frame.minX, frame.maxY, frame.minX, frame.minY}};
    const double side = std::max(frame.width(), frame.height());
    m_reach = 2 * std::hypot(frame.width(), frame.height());
    m_tolerance = side * 1e-9;
    // About 64 bins a side, at least a few walls a bin.
    const std::size_t pieces = walls.pieces().size();
    const double perSide = std::clamp(std::sqrt(static_cast<double>(pieces)), 1.0, 64.0);
    m_bins = SegmentBins(walls.pieces(), frame, side > 0 ? side / perSide : 1.0);
    m_seen.assign(pieces, 0);
}

void IsovistMaker::addCandidate(int piece, DoublePoint point, Cover* cover, double* farthest) {
    const auto pieceCount = static_cast<int>(m_walls.pieces().size());
    const MapLine& line = piece < pieceCount
                              ? m_walls.pieces()[static_cast<std::size_t>(piece)]
                              : m_frame[static_cast<std::size_t>(piece - pieceCount)];
    const DoublePoint a{line.x1, line.y1}, b{line.x2, line.y2};
    const double turn = geometry::Orientation(point, a, b);
    DoublePoint start = Minus(a, point), end = Minus(b, point);
    if (turn < 0)
        std::swap(start, end);
    const double startAngle = AngleOf(start), endAngle = AngleOf(end);
    // A wall seen end on, or so nearly that its angles cannot tell its ends apart, hides only the
    // ray behind its near end.
    if (turn == 0 || startAngle == endAngle ||
        (startAngle > endAngle && startAngle - endAngle < std::numbers::pi)) {
        const DoublePoint nearEnd = Length(start) <= Length(end) ? start : end;
        const double angle = AngleOf(nearEnd);
        if (cover && cover->contains({angle, angle}))
            return;
        const double scale = m_reach / std::max(Length(nearEnd), 1e-300);
        m_cracks.push_back({nearEnd, {nearEnd.x * scale, nearEnd.y * scale}});
        return;
    }
    const Span first =
        startAngle <= endAngle ? Span{startAngle, endAngle} : Span{startAngle, kFullTurn};
    const bool wraps = startAngle > endAngle;
    if (cover && cover->contains(first) && (!wraps || cover->contains({0, endAngle})))
        return;
    m_candidates.push_back({piece, start, end, startAngle, endAngle});
    if (farthest)
        *farthest = std::max(Length(start), Length(end));
}

void IsovistMaker::gather(DoublePoint point) {
    m_candidates.clear();
    m_cracks.clear();
    if (++m_stamp == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_stamp = 1;
    }
    Cover cover;
    // Walls waiting until every wall still to come is farther than all of them.
    using Waiting = std::pair<double, int>;
    std::priority_queue<Waiting, std::vector<Waiting>, std::greater<>> waiting;
    const int centreColumn = m_bins.columnOf(point.x), centreRow = m_bins.rowOf(point.y);
    const int rings = std::max({centreColumn, m_bins.columns() - 1 - centreColumn, centreRow,
                                m_bins.rows() - 1 - centreRow});
    const auto visitBin = [&](int column, int row) {
        if (column < 0 || row < 0 || column >= m_bins.columns() || row >= m_bins.rows())
            return;
        for (const std::int32_t piece : m_bins.in(column, row)) {
            if (m_seen[static_cast<std::size_t>(piece)] == m_stamp)
                continue;
            m_seen[static_cast<std::size_t>(piece)] = m_stamp;
            const std::size_t before = m_candidates.size();
            double farthest = 0;
            addCandidate(piece, point, &cover, &farthest);
            if (m_candidates.size() > before)
                waiting.emplace(farthest, static_cast<int>(before));
        }
    };
    for (int ring = 0; ring <= rings; ++ring) {
        for (int step = -ring; step <= ring; ++step) {
            visitBin(centreColumn + step, centreRow - ring);
            if (ring > 0)
                visitBin(centreColumn + step, centreRow + ring);
        }
        for (int step = -ring + 1; step <= ring - 1; ++step) {
            visitBin(centreColumn - ring, centreRow + step);
            visitBin(centreColumn + ring, centreRow + step);
        }
        // Everything in the rings beyond lies at least this far from the point.
        const double beyond = ring * m_bins.binSize();
        while (!waiting.empty() && waiting.top().first <= beyond) {
            const Candidate& candidate =
                m_candidates[static_cast<std::size_t>(waiting.top().second)];
            waiting.pop();
            if (candidate.startAngle <= candidate.endAngle) {
                cover.add({candidate.startAngle, candidate.endAngle});
            } else {
                cover.add({candidate.startAngle, kFullTurn});
                cover.add({0, candidate.endAngle});
            }
        }
        if (cover.full())
            break;
    }
    const auto pieceCount = static_cast<int>(m_walls.pieces().size());
    for (int side = 0; side < 4; ++side)
        addCandidate(pieceCount + side, point, nullptr, nullptr);
}

double IsovistMaker::distanceAt(const Candidate& candidate, double angle) const {
    const DoublePoint direction{std::cos(angle), std::sin(angle)};
    const DoublePoint edge = Minus(candidate.end, candidate.start);
    return Cross(candidate.start, edge) / Cross(direction, edge);
}

int IsovistMaker::nearer(int first, int second, double angle) const {
    if (first < 0)
        return second;
    if (second < 0)
        return first;
    const double a = distanceAt(m_candidates[static_cast<std::size_t>(first)], angle);
    const double b = distanceAt(m_candidates[static_cast<std::size_t>(second)], angle);
    return a < b || (a == b && first < second) ? first : second;
}

DoublePoint IsovistMaker::hit(const Candidate& candidate, double angle) const {
    if (angle == candidate.startAngle)
        return candidate.start;
    if (angle == candidate.endAngle || (angle == kFullTurn && candidate.endAngle == 0))
        return candidate.end;
    const double distance = distanceAt(candidate, angle);
    return {distance * std::cos(angle), distance * std::sin(angle)};
}

// Each slot between two neighbouring wall-end directions gets its nearest wall from a segment
// tree over the slots: a wall is entered in the nodes that its directions cover whole, each node
// keeping the nearer of two walls that both cover it, which the walls' not crossing makes the
// nearer throughout.
void IsovistMaker::sweep() {
    m_angles.assign(1, 0.0);
    for (const Candidate& candidate : m_candidates) {
        m_angles.push_back(candidate.startAngle);
        m_angles.push_back(candidate.endAngle);
    }
    std::sort(m_angles.begin(), m_angles.end());
    m_angles.erase(std::unique(m_angles.begin(), m_angles.end()), m_angles.end());
    const int slots = static_cast<int>(m_angles.size());
    m_angles.push_back(kFullTurn);
    const auto slotOf = [&](double angle) {
        return static_cast<int>(std::lower_bound(m_angles.begin(), m_angles.end(), angle) -
                                m_angles.begin());
    };
    const int leaves = static_cast<int>(std::bit_ceil(static_cast<unsigned>(slots)));
    const int height = std::countr_zero(static_cast<unsigned>(leaves));
    m_tree.assign(static_cast<std::size_t>(2 * leaves), -1);
    const auto middleOf = [&](int node) {
        const int level = height - (std::bit_width(static_cast<unsigned>(node)) - 1);
        const int first = (node << level) - leaves;
        const int last = std::min(((node + 1) << level) - leaves, slots);
        return (m_angles[static_cast<std::size_t>(first)] +
                m_angles[static_cast<std::size_t>(last)]) /
               2;
    };
    const auto enter = [&](int candidate, int first, int last) {
        for (int low = first + leaves, high = last + leaves; low < high; low >>= 1, high >>= 1) {
            if (low & 1) {
                m_tree[static_cast<std::size_t>(low)] =
                    nearer(m_tree[static_cast<std::size_t>(low)], candidate, middleOf(low));
                ++low;
            }
            if (high & 1) {
                --high;
                m_tree[static_cast<std::size_t>(high)] =
                    nearer(m_tree[static_cast<std::size_t>(high)], candidate, middleOf(high));
            }
        }
    };
    for (int index = 0; index < static_cast<int>(m_candidates.size()); ++index) {
        const Candidate& candidate = m_candidates[static_cast<std::size_t>(index)];
        const int first = slotOf(candidate.startAngle), last = slotOf(candidate.endAngle);
        if (candidate.startAngle <= candidate.endAngle) {
            enter(index, first, last);
        } else {
            enter(index, first, slots);
            enter(index, 0, last);
        }
    }
    m_slotWall.assign(static_cast<std::size_t>(slots), -1);
    for (int slot = 0; slot < slots; ++slot) {
        const double middle = (m_angles[static_cast<std::size_t>(slot)] +
                               m_angles[static_cast<std::size_t>(slot + 1)]) /
                              2;
        int best = -1;
        for (int node = slot + leaves; node >= 1; node >>= 1)
            best = nearer(best, m_tree[static_cast<std::size_t>(node)], middle);
        m_slotWall[static_cast<std::size_t>(slot)] = best;
    }
}

void IsovistMaker::look(DoublePoint point) {
    gather(point);
    sweep();
    m_outline.clear();
    for (std::size_t slot = 0; slot < m_slotWall.size(); ++slot) {
        const Candidate& wall = m_candidates[static_cast<std::size_t>(m_slotWall[slot])];
        for (const DoublePoint corner :
             {hit(wall, m_angles[slot]), hit(wall, m_angles[slot + 1])}) {
            if (m_outline.empty() || corner.x != m_outline.back().x ||
                corner.y != m_outline.back().y)
                m_outline.push_back(corner);
        }
    }
    if (m_outline.size() > 1 && m_outline.front().x == m_outline.back().x &&
        m_outline.front().y == m_outline.back().y)
        m_outline.pop_back();
}

IsovistMeasures IsovistMaker::measures() const {
    struct Block {
        int wall;
        DoublePoint start, end;
    };
    const auto pieceCount = static_cast<int>(m_walls.pieces().size());
    std::vector<Block> blocks;
    for (std::size_t slot = 0; slot < m_slotWall.size(); ++slot) {
        const int wall = m_slotWall[slot];
        const Candidate& candidate = m_candidates[static_cast<std::size_t>(wall)];
        if (candidate.piece >= pieceCount)
            continue;
        const DoublePoint start = hit(candidate, m_angles[slot]);
        const DoublePoint end = hit(candidate, m_angles[slot + 1]);
        const bool follows =
            !blocks.empty() && blocks.back().wall == wall && m_slotWall[slot - 1] == wall;
        if (follows)
            blocks.back().end = end;
        else
            blocks.push_back({wall, start, end});
    }
    if (blocks.empty())
        return {};
    // A wall across the direction of angle 0 is one block, not two.
    if (blocks.size() > 1 && blocks.front().wall == blocks.back().wall &&
        m_slotWall.front() == blocks.front().wall && m_slotWall.back() == blocks.front().wall) {
        blocks.front().start = blocks.back().start;
        blocks.pop_back();
    }

    std::vector<DoublePoint> polygon;
    double perimeter = 0, occluded = 0;
    for (std::size_t index = 0; index < blocks.size(); ++index) {
        const Block& block = blocks[index];
        const Block& before = blocks[(index + blocks.size() - 1) % blocks.size()];
        if (blocks.size() > 1 && !Near(before.end, block.start, m_tolerance)) {
            const double gap = Length(Minus(block.start, before.end));
            perimeter += gap;
            occluded += gap;
        }
        polygon.push_back(block.start);
        polygon.push_back(block.end);
        perimeter += Length(Minus(block.end, block.start));
    }

    double doubleArea = 0, centroidX = 0, centroidY = 0;
    double minRadial = std::numeric_limits<double>::infinity(), maxRadial = 0;
    for (std::size_t index = 0; index < polygon.size(); ++index) {
        const DoublePoint a = polygon[index], b = polygon[(index + 1) % polygon.size()];
        const double cross = Cross(a, b);
        doubleArea += cross;
        centroidX += (a.x + b.x) * cross;
        centroidY += (a.y + b.y) * cross;
        minRadial = std::min(minRadial, DistanceToSegment(a, b));
        maxRadial = std::max(maxRadial, Length(a));
    }
    IsovistMeasures measures;
    const double area = doubleArea / 2;
    if (!(area > 0) || !(perimeter > 0))
        return measures;
    measures.area = area;
    measures.perimeter = perimeter;
    measures.occlusivity = occluded;
    measures.minRadial = minRadial;
    measures.maxRadial = maxRadial;
    measures.compactness = 4 * std::numbers::pi * area / (perimeter * perimeter);
    const DoublePoint drift{centroidX / (3 * doubleArea), centroidY / (3 * doubleArea)};
    measures.driftMagnitude = Length(drift);
    if (*measures.driftMagnitude > 0)
        measures.driftAngle = AngleOf(drift) * 180 / std::numbers::pi;
    return measures;
}

} // namespace vantrel::vga

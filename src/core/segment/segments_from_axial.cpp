// Axial lines cut into segments at their junctions.
#include "core/segment/segment_building.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vantrel::segment {
namespace {

// Where a point falls along a line: 0 at its start, 1 at its end.
double ShareAlong(const MapLine& line, double x, double y) {
    const double dx = line.x2 - line.x1, dy = line.y2 - line.y1;
    const double squared = dx * dx + dy * dy;
    if (!(squared > 0))
        return 0;
    return std::clamp(((x - line.x1) * dx + (y - line.y1) * dy) / squared, 0.0, 1.0);
}

struct Cut {
    double share;
    int junction;
    // 0 when the line is the junction's first line, 1 when its second.
    int side;
};

// The cut points of one line merged into junction points, and the line's pieces between them.
struct CutLine {
    // Per junction point: its share along the line and the junction whose point it takes.
    std::vector<std::pair<double, int>> points;
    // Per piece (one more than the points): its segment, or -1 when dropped.
    std::vector<int> pieceSegments;
};

} // namespace

SegmentMap SegmentsFromAxialLines(std::span<const MapLine> lines,
                                  std::span<const MapJunction> junctions, double stubPercent) {
    const int lineCount = static_cast<int>(lines.size());
    std::vector<std::vector<Cut>> cuts(lines.size());
    for (std::size_t junction = 0; junction < junctions.size(); ++junction) {
        const MapJunction& meeting = junctions[junction];
        const int sides[] = {meeting.firstLine - 1, meeting.secondLine - 1};
        if (sides[0] == sides[1] || std::min(sides[0], sides[1]) < 0 ||
            std::max(sides[0], sides[1]) >= lineCount)
            continue;
        for (int side = 0; side < 2; ++side) {
            const auto line = static_cast<std::size_t>(sides[side]);
            cuts[line].push_back(
                {ShareAlong(lines[line], meeting.x, meeting.y), static_cast<int>(junction), side});
        }
    }

    // Per junction and side, the index of its junction point on that line.
    std::vector<std::array<int, 2>> pointOf(junctions.size(), {-1, -1});
    std::vector<CutLine> cutLines(lines.size());
    std::vector<Segment> segments;
    const double stubShare = std::max(stubPercent / 100, kNegligibleShare);
    for (int lineIndex = 0; lineIndex < lineCount; ++lineIndex) {
        const MapLine& line = lines[static_cast<std::size_t>(lineIndex)];
        std::vector<Cut>& lineCuts = cuts[static_cast<std::size_t>(lineIndex)];
        std::sort(lineCuts.begin(), lineCuts.end(), [](const Cut& a, const Cut& b) {
            return std::pair(a.share, a.junction) < std::pair(b.share, b.junction);
        });
        CutLine& cut = cutLines[static_cast<std::size_t>(lineIndex)];
        double previous = -1;
        for (const Cut& each : lineCuts) {
            if (cut.points.empty() || each.share - previous > kNegligibleShare)
                cut.points.emplace_back(each.share, each.junction);
            previous = each.share;
            pointOf[static_cast<std::size_t>(each.junction)][static_cast<std::size_t>(each.side)] =
                static_cast<int>(cut.points.size()) - 1;
        }

        const std::size_t pieces = cut.points.size() + 1;
        for (std::size_t piece = 0; piece < pieces; ++piece) {
            const bool first = piece == 0, last = piece + 1 == pieces;
            const double from = first ? 0 : cut.points[piece - 1].first;
            const double to = last ? 1 : cut.points[piece].first;
            if (pieces > 1 && (first || last) && to - from < stubShare) {
                cut.pieceSegments.push_back(-1);
                continue;
            }
            const auto pointAt = [&](std::size_t point) {
                const MapJunction& meeting =
                    junctions[static_cast<std::size_t>(cut.points[point].second)];
                return std::pair(meeting.x, meeting.y);
            };
            const auto [x1, y1] = first ? std::pair(line.x1, line.y1) : pointAt(piece - 1);
            const auto [x2, y2] = last ? std::pair(line.x2, line.y2) : pointAt(piece);
            cut.pieceSegments.push_back(static_cast<int>(segments.size()));
            segments.push_back({{x1, y1, x2, y2}, lineIndex, std::hypot(x2 - x1, y2 - y1)});
        }
    }

    std::vector<std::pair<int, Connection>> connections;
    // Consecutive pieces of a line, straight on.
    for (const CutLine& cut : cutLines) {
        for (std::size_t point = 0; point < cut.points.size(); ++point) {
            const int before = cut.pieceSegments[point], after = cut.pieceSegments[point + 1];
            if (before >= 0 && after >= 0) {
                connections.push_back({2 * before + 1, {after, 0, 0.0}});
                connections.push_back({2 * after, {before, 1, 0.0}});
            }
        }
    }
    // The pieces of two lines at their junction, with the turn between the lines.
    for (std::size_t junction = 0; junction < junctions.size(); ++junction) {
        const auto [firstPoint, secondPoint] = pointOf[junction];
        if (firstPoint < 0)
            continue;
        const auto firstLine = static_cast<std::size_t>(junctions[junction].firstLine - 1);
        const auto secondLine = static_cast<std::size_t>(junctions[junction].secondLine - 1);
        const std::vector<int>& firstPieces = cutLines[firstLine].pieceSegments;
        const std::vector<int>& secondPieces = cutLines[secondLine].pieceSegments;
        // The piece before a junction point meets it with its end, the piece after with its start.
        for (int firstEnd = 0; firstEnd < 2; ++firstEnd) {
            const int a = firstPieces[static_cast<std::size_t>(firstPoint + 1 - firstEnd)];
            for (int secondEnd = 0; secondEnd < 2 && a >= 0; ++secondEnd) {
                const int b = secondPieces[static_cast<std::size_t>(secondPoint + 1 - secondEnd)];
                if (b >= 0)
                    AddMeeting(connections, a, firstEnd, lines[firstLine], b, secondEnd,
                               lines[secondLine]);
            }
        }
    }
    return SegmentMap(std::move(segments), std::move(connections));
}

} // namespace vantrel::segment

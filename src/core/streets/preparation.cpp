#include "core/streets/preparation.h"

#include "core/streets/simplification.h"
#include "core/streets/snapping.h"
#include "core/streets/street_checks.h"
#include "core/streets/street_network.h"
#include "core/streets/tidy.h"

#include <algorithm>
#include <optional>

namespace vantrel::streets {

namespace {

// The ways split at junctions: consecutive pieces of one source feature share a vertex, and
// where another piece ends there too, the way was split.
void CountSplits(const StreetNetwork& network, StreetCounts& counts) {
    std::int64_t lastSplitSource = 0;
    bool anySplit = false;
    for (int index = 1; index < network.segmentCount(); ++index) {
        const Segment& before = network.segment(index - 1);
        const Segment& piece = network.segment(index);
        if (piece.source != before.source || piece.from != before.to ||
            network.degree(piece.from) <= 2)
            continue;
        ++counts.splitVertices;
        if (!anySplit || piece.source != lastSplitSource)
            ++counts.splitWays;
        anySplit = true;
        lastSplitSource = piece.source;
    }
}

void Tidy(StreetNetwork& network, const StreetSettings& settings, std::vector<Problem>& problems,
          StreetCounts& counts) {
    if (settings.dropDuplicates) {
        counts.zeroLength += DropZeroLength(network);
        counts.duplicates += DropDuplicates(network, problems);
    }
    if (settings.mergeOverlaps) {
        const OverlapCounts overlaps = MergeOverlaps(network, problems);
        counts.overlapSegments += overlaps.segments;
        counts.overlapStretches += overlaps.stretches;
    }
}

// Snapping can make duplicates and overlaps, and tidying them can leave an end unconnected, so
// the two take turns until snapping finds nothing more.
void TidyAndSnap(StreetNetwork& network, const StreetSettings& settings,
                 std::vector<Problem>& problems, StreetCounts& counts) {
    Tidy(network, settings, problems, counts);
    if (!settings.snap)
        return;
    SnapCounts snaps;
    while (SnapEnds(network, std::max(settings.snapDistance, 0.0), problems, snaps))
        Tidy(network, settings, problems, counts);
    counts.snappedToEnds = snaps.toEnds;
    counts.snappedToLines = snaps.toLines;
    counts.joinedOnLines = snaps.onLines;
}

// Dropping small groups takes away unconnected ends that may have kept chains in pieces, and
// simplifying shrinks groups, so the two take turns until neither changes the map.
void SimplifyAndDropGroups(StreetNetwork& network, const StreetSettings& settings,
                           std::vector<Problem>& problems, StreetCounts& counts) {
    const std::optional<double> snapDistance =
        settings.snap ? std::optional(std::max(settings.snapDistance, 0.0)) : std::nullopt;
    const int firstMade = network.segmentCount();
    std::vector<bool> aliveBefore(firstMade), dropped(firstMade);
    for (int index = 0; index < firstMade; ++index)
        aliveBefore[index] = network.segment(index).alive;
    for (bool again = true; again;) {
        SimplifyChains(network, settings.simplifyAngle, snapDistance);
        const std::vector<int> gone = DropSmallGroups(network, settings.minGroup, problems);
        dropped.resize(network.segmentCount());
        for (const int index : gone)
            dropped[index] = true;
        counts.droppedGroupSegments += static_cast<int>(gone.size());
        again = !gone.empty();
    }
    counts.droppedGroups = static_cast<int>(
        std::count_if(problems.begin(), problems.end(), [](const Problem& problem) {
            return problem.type == ProblemType::SmallGroup && problem.fixed;
        }));
    // Pieces replaced by simplifying, and the segments that replaced them, whether kept or
    // dropped with their group afterwards; a segment made and replaced again is neither.
    dropped.resize(network.segmentCount());
    for (int index = 0; index < network.segmentCount(); ++index) {
        const bool alive = network.segment(index).alive;
        if (index < firstMade && aliveBefore[index] && !alive && !dropped[index])
            ++counts.simplifiedPieces;
        if (index >= firstMade && (alive || dropped[index]))
            ++counts.simplifiedSegments;
    }
}

// Ordered by source, then by position, so that the order does not depend on how the steps
// happened to number the segments.
void Collect(const StreetNetwork& network, PreparedStreets& prepared) {
    std::vector<int> alive;
    for (int index = 0; index < network.segmentCount(); ++index)
        if (network.segment(index).alive)
            alive.push_back(index);
    const auto position = [&](int index) {
        const Segment& segment = network.segment(index);
        const DoublePoint a = network.point(segment.from), b = network.point(segment.to);
        return std::tuple(segment.source, a.x, a.y, b.x, b.y);
    };
    std::sort(alive.begin(), alive.end(), [&](int a, int b) { return position(a) < position(b); });
    for (const int index : alive) {
        prepared.segments.push_back(network.line(index));
        prepared.sources.push_back(network.segment(index).source);
    }
}

} // namespace

PreparedStreets PrepareStreets(std::span<const MapLine> pieces,
                               std::span<const std::int64_t> sources,
                               const StreetSettings& settings, Progress& progress) {
    constexpr int kSteps = 5;
    progress.start(kSteps);
    PreparedStreets prepared;
    StreetCounts& counts = prepared.counts;
    StreetNetwork network(pieces, sources);
    counts.pieces = static_cast<int>(pieces.size());
    counts.skippedPieces = network.skippedPieces();
    CountSplits(network, counts);

    TidyAndSnap(network, settings, prepared.problems, counts);
    progress.advance(1);
    SimplifyAndDropGroups(network, settings, prepared.problems, counts);
    progress.advance(3);
    const GroupCounts groups = ReportGroups(network, prepared.problems);
    counts.groups = groups.groups;
    counts.largestGroup = groups.largest;
    CheckEndsAndLengths(network, settings.checkDistance, prepared.problems);
    progress.advance(4);
    counts.crossingsApart = CheckCrossings(network, prepared.problems);
    Collect(network, prepared);
    progress.advance(kSteps);
    progress.finish();
    return prepared;
}

PreparedStreets PrepareStreets(std::span<const MapLine> pieces,
                               std::span<const std::int64_t> sources,
                               const StreetSettings& settings) {
    NoProgress progress;
    return PrepareStreets(pieces, sources, settings, progress);
}

} // namespace vantrel::streets

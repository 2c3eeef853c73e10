// From raw street pieces to a road-centre-line map of straight segments that meet only at
// coincident end points: the cleaning steps in order, each counted and each switchable.
#pragma once

#include "core/app/project_state.h"
#include "core/host/progress.h"
#include "core/streets/problems.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::streets {

// Distances are in the map's units.
struct StreetSettings {
    // Pieces of zero length and exact duplicates are dropped.
    bool dropDuplicates = true;
    // Pieces lying along one another on the same line are merged.
    bool mergeOverlaps = true;
    // Unconnected ends are joined to an end point or line within `snapDistance`; with a distance
    // of 0, only ends lying exactly on a line.
    bool snap = true;
    double snapDistance = 0;
    // Chains through vertices turning by less than this many degrees become one segment; 0 keeps
    // every piece.
    double simplifyAngle = 0;
    // Groups of fewer segments are dropped; 0 keeps all.
    int minGroup = 0;
    // Unconnected ends this near another line and segments this short are reported; 0 reports
    // neither.
    double checkDistance = 0;
};

struct StreetCounts {
    int pieces = 0;
    // Pieces left out for a coordinate that is not finite or beyond the exact range.
    int skippedPieces = 0;
    // Source features that run through a vertex they share with another piece, and how many
    // such vertices there are along them: the ways split at junctions.
    int splitWays = 0;
    int splitVertices = 0;
    int zeroLength = 0;
    int duplicates = 0;
    int overlapSegments = 0;
    int overlapStretches = 0;
    int snappedToEnds = 0;
    int snappedToLines = 0;
    int joinedOnLines = 0;
    int simplifiedPieces = 0;
    int simplifiedSegments = 0;
    int groups = 0;
    int largestGroup = 0;
    int droppedGroups = 0;
    int droppedGroupSegments = 0;
    // Places where segments cross without a shared vertex (bridges, tunnels), kept apart.
    int crossingsApart = 0;
};

struct PreparedStreets {
    // The clean segments, ordered by source, and each one's source feature id.
    std::vector<MapLine> segments;
    std::vector<std::int64_t> sources;
    std::vector<Problem> problems;
    StreetCounts counts;
};

// Cleans the pieces (straight lines, the pieces of one source feature consecutive and in order)
// with the settings. Preparing the result again changes nothing. `sources` holds each piece's
// source feature id; when empty, pieces are their own sources, numbered from 1.
PreparedStreets PrepareStreets(std::span<const MapLine> pieces,
                               std::span<const std::int64_t> sources,
                               const StreetSettings& settings, Progress& progress);
PreparedStreets PrepareStreets(std::span<const MapLine> pieces,
                               std::span<const std::int64_t> sources,
                               const StreetSettings& settings);

} // namespace vantrel::streets

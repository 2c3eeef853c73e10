// The tidying steps of the cleaning: pieces of zero length, exact duplicates and pieces lying
// along one another on the same line.
#pragma once

#include "core/streets/problems.h"
#include "core/streets/street_network.h"

#include <vector>

namespace vantrel::streets {

// Removes the segments whose ends are one vertex; returns how many.
int DropZeroLength(StreetNetwork& network);

// Removes every segment that joins the same two vertices as an earlier one, each reported as a
// fixed duplicate; returns how many.
int DropDuplicates(StreetNetwork& network, std::vector<Problem>& problems);

struct OverlapCounts {
    // Segments that shared a stretch of their length with another.
    int segments = 0;
    // The stretches drawn more than once.
    int stretches = 0;
};

// Segments on one line that share a stretch (decided exactly: collinear, and overlapping by more
// than a point) are replaced by the pieces between all their end points, each stretch drawn once,
// keeping the direction and source of the earliest segment covering it. Each stretch that was
// drawn more than once is reported as a fixed overlap.
OverlapCounts MergeOverlaps(StreetNetwork& network, std::vector<Problem>& problems);

// True when segments a-b and c-d lie on one line and share a stretch of positive length.
bool OverlapAlongLine(DoublePoint a, DoublePoint b, DoublePoint c, DoublePoint d);

} // namespace vantrel::streets

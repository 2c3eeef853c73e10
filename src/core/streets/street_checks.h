// What is left to look at once the map is clean: separate groups, unconnected ends near another
// line, very short segments and crossings without a shared vertex.
#pragma once

#include "core/streets/problems.h"
#include "core/streets/street_network.h"

#include <vector>

namespace vantrel::streets {

struct GroupCounts {
    int groups = 0;
    // Segments of the largest group.
    int largest = 0;
};

// Removes every group of connected segments that has fewer than `minGroup` segments, each
// reported as a fixed small separate group with its number of segments; returns the segments
// removed.
std::vector<int> DropSmallGroups(StreetNetwork& network, int minGroup,
                                 std::vector<Problem>& problems);

// Counts the groups; every group other than the largest is reported at its longest segment, to
// be checked, with its number of segments.
GroupCounts ReportGroups(const StreetNetwork& network, std::vector<Problem>& problems);

// Unconnected ends within `distance` of a line that does not touch their segment (the distance
// to the nearest), and segments shorter than `distance`, reported to be checked.
void CheckEndsAndLengths(const StreetNetwork& network, double distance,
                         std::vector<Problem>& problems);

// Counts the places where segments cross or touch without sharing a vertex (bridges, tunnels),
// decided exactly; those of two segments of one source feature are reported as self-crossings.
int CheckCrossings(const StreetNetwork& network, std::vector<Problem>& problems);

} // namespace vantrel::streets

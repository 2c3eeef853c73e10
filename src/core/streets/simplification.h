// Chains of pieces through vertices that join only those two pieces and turn by less than a
// given angle become one straight segment, so that a curve drawn in many pieces counts as the
// few segments a person sees and costs its real turn.
#pragma once

#include "core/streets/street_network.h"

#include <optional>

namespace vantrel::streets {

// Replaces each chain by the segment between its ends, and repeats on the result until no
// vertex of two segments turns by less than `angle` degrees. A chain stays in pieces, split at
// the vertex farthest from the segment that would replace it, where that segment would join a
// vertex to itself, join two vertices already joined, lie along another segment, or (with a
// `snapDistance`) come within that distance of an unconnected end that the snapping step would
// then join to it: so that the result is left as it is when prepared again. The new segment keeps
// the direction and source of the chain's longest piece. Returns whether anything changed.
bool SimplifyChains(StreetNetwork& network, double angle, std::optional<double> snapDistance);

} // namespace vantrel::streets

// Which junctions lie close to another junction.
#pragma once

#include "core/app/project_state.h"

#include <vector>

namespace vantrel::geometry {

// Close on both axes: |xa - xb| < threshold and |ya - yb| < threshold, each difference taken
// in float and both strict. A square test, not a distance: a junction exactly the threshold away
// on either axis is not close, and a threshold of 0 (or less) makes nothing close.
bool AreJunctionsClose(const Junction& a, const Junction& b, float threshold);

// One flag per junction: whether some other junction is close to it.
std::vector<bool> FindCloseJunctions(const std::vector<Junction>& junctions, float threshold);

} // namespace vantrel::geometry

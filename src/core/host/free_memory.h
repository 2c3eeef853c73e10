// How much memory the machine has free, for refusing work that would not fit before it starts.
#pragma once

#include <cstddef>

namespace vantrel {

// Nine tenths of what the system says is available (MemAvailable), or half the physical memory
// when it does not say; SIZE_MAX when neither is known.
std::size_t FreeMemoryBytes();

} // namespace vantrel

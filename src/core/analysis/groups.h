// How many separate groups of related items a map falls into.
#pragma once

#include <cstdint>
#include <span>

namespace vantrel::analysis {

// The groups of two or more items that reach one another, from how many other items each item
// reaches: each of a group's k items reaches the other k - 1, so the group adds k times 1 / k.
// Items that reach nothing are no group.
int GroupCount(std::span<const std::int32_t> reached);

// The items of the largest such group; 0 when there is none.
int LargestGroupSize(std::span<const std::int32_t> reached);

} // namespace vantrel::analysis

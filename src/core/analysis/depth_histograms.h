// How many items lie at each depth from each item: all that total depths, mean depths and
// radius values need, in memory proportional to items times depth rather than items squared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::analysis {

class DepthHistograms {
public:
    int itemCount() const { return static_cast<int>(m_offsets.size()) - 1; }

    // Entry d - 1 counts the items at depth d from the item, for d = 1 up to its deepest reach.
    std::span<const std::int32_t> of(int index) const {
        return {m_counts.data() + m_offsets[index], m_offsets[index + 1] - m_offsets[index]};
    }

    // Adds the next item's counts.
    void append(std::span<const std::int32_t> counts) {
        m_counts.insert(m_counts.end(), counts.begin(), counts.end());
        m_offsets.push_back(m_counts.size());
    }

    bool operator==(const DepthHistograms&) const = default;

private:
    std::vector<std::size_t> m_offsets{0};
    std::vector<std::int32_t> m_counts;
};

} // namespace vantrel::analysis

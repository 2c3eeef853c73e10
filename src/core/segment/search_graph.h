// The graph the segment searches run on: directed states ("on segment s, heading to its end e",
// numbered 2 * place of s + e) and the steps between them, each costing whole numbers, so that
// depths are sums of integers and exact.
#pragma once

#include "core/segment/segment_map.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::segment {

// What a route's depth counts: the turns (angular), the length (metric), or the changes of
// axial line (topological).
enum class DepthKind { Angular, Metric, Topological };

// A route is ranked by its primary cost, and routes of equal primary cost by the secondary one:
// angular (turns, length), metric (length, turns), topological (line changes, length).
struct StepCost {
    std::int64_t primary = 0;
    std::int64_t secondary = 0;
};

// A state's steps in one small record at a place fixed by the state, so that the search reaches
// them without first reading where they begin, and can fetch them ahead when it queues the
// state. A step's length (half of each segment it joins, from halfLengths()) is added to
// `other`, its other cost (the turn, or the change of line). `count` is -1 for a state whose
// steps do not fit (more of them, or a turn too large): they are read from firstStep() on.
struct alignas(32) InlineSteps {
    static constexpr int kMost = 3;
    struct Step {
        std::int32_t target;
        std::uint32_t other;
    };
    std::int32_t count;
    Step steps[kMost];
};

class SearchGraph {
public:
    // `tulipBins` B > 0 counts each turn of w right angles as floor(w (B/2 + 1) / 2) bins, with
    // B/2 whole, and a right angle as (B/2) / 2 bins; 0 counts turns in 2^-32 right angles.
    SearchGraph(const SegmentMap& map, DepthKind depth, int tulipBins);

    int segmentCount() const { return m_segmentCount; }
    // The graph numbers the segments in an order of its own, near segments near each other:
    // states are 2 * place + end. A segment's place, and the segment at a place.
    int placeOf(int segment) const { return m_placeOf[static_cast<std::size_t>(segment)]; }
    int segmentAt(int place) const { return m_segmentOf[static_cast<std::size_t>(place)]; }
    // The steps leaving a state, as indices into target() and cost().
    std::int64_t firstStep(int state) const { return m_starts[static_cast<std::size_t>(state)]; }
    std::int64_t endStep(int state) const { return m_starts[static_cast<std::size_t>(state) + 1]; }
    int target(std::int64_t step) const { return m_targets[static_cast<std::size_t>(step)]; }
    StepCost cost(std::int64_t step) const { return m_costs[static_cast<std::size_t>(step)]; }
    // By state.
    std::span<const InlineSteps> inlineSteps() const { return m_inlineSteps; }
    // Half of each segment's length, by place, in length units: a step's length is the sum of
    // those of the segments it joins.
    std::span<const std::int64_t> halfLengths() const { return m_halfLengths; }
    // The largest primary cost of a step.
    std::int64_t largestPrimaryStep() const { return m_largestPrimaryStep; }

    DepthKind depthKind() const { return m_depth; }
    // Turn units in a right angle (the depth unit of an angular analysis).
    double turnUnitsPerRightAngle() const { return m_turnUnitsPerRightAngle; }
    // The map length of one length unit: a power of two, small enough that every route's length
    // fits in 62 bits.
    double lengthUnit() const { return m_lengthUnit; }
    // A turn of `rightAngles`, and a length, in the graph's whole units, rounded down.
    std::int64_t turnUnits(double rightAngles) const;
    std::int64_t lengthUnits(double length) const;
    // A primary cost (or a sum of them) as the depth it stands for: right angles, map units or
    // line changes.
    double depthOf(double primary) const;
    // Whether the secondary cost is the route's length (else its turns).
    bool secondaryIsLength() const { return m_depth != DepthKind::Metric; }

private:
    int m_segmentCount = 0;
    DepthKind m_depth;
    int m_tulipBins;
    double m_turnUnitsPerRightAngle = 1;
    double m_lengthUnit = 1;
    std::int64_t m_largestPrimaryStep = 0;
    std::vector<int> m_segmentOf;
    std::vector<int> m_placeOf;
    std::vector<std::int64_t> m_starts;
    std::vector<int> m_targets;
    std::vector<StepCost> m_costs;
    std::vector<std::int64_t> m_halfLengths;
    std::vector<InlineSteps> m_inlineSteps;
};

} // namespace vantrel::segment

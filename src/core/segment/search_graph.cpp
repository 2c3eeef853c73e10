#include "core/segment/search_graph.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace vantrel::segment {
namespace {

// Turns of the unquantised analysis are counted in 2^-32 right angles.
constexpr double kFineTurnUnits = 4294967296.0;
// Limits beyond this are no limit; sums of two costs below it cannot overflow.
constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max() / 4;
// A turn computed a hair below a bin's edge (a right angle as 0.9999999999999999) still fills
// the bin.
constexpr double kRoundingAllowance = 1e-9;

std::int64_t WholeUnits(double value) {
    if (!(value < static_cast<double>(kNoLimit)))
        return kNoLimit;
    return std::max<std::int64_t>(0, static_cast<std::int64_t>(std::floor(value)));
}

} // namespace

SearchGraph::SearchGraph(const SegmentMap& map, DepthKind depth, int tulipBins)
    : m_segmentCount(map.segmentCount()), m_depth(depth), m_tulipBins(tulipBins) {
    if (tulipBins < 0)
        throw std::invalid_argument("the tulip bins must be 0 or more");
    m_turnUnitsPerRightAngle = tulipBins > 0 ? (tulipBins / 2) / 2.0 : kFineTurnUnits;

    // The longest route passes every segment at most twice, so twice the map's length bounds it.
    double total = 0;
    for (const Segment& segment : map.segments())
        total += segment.length;
    if (!std::isfinite(total))
        throw std::invalid_argument("the segments are too long to add up");
    if (total > 0) {
        int exponent = 0;
        std::frexp(total, &exponent);
        m_lengthUnit = std::ldexp(1.0, exponent - 60);
    }

    std::vector<std::int64_t> halves(static_cast<std::size_t>(m_segmentCount));
    for (int index = 0; index < m_segmentCount; ++index) {
        const double length = map.segment(index).length;
        const std::int64_t half = std::llround(length / 2 / m_lengthUnit);
        // Every step of a route with length lengthens it, so no two routes tie by going round.
        halves[static_cast<std::size_t>(index)] = length > 0 ? std::max<std::int64_t>(half, 1) : 0;
    }

    const std::size_t states = 2 * static_cast<std::size_t>(m_segmentCount);
    m_starts.assign(states + 1, 0);
    for (int segment = 0; segment < m_segmentCount; ++segment) {
        for (const int end : {0, 1}) {
            const int state = 2 * segment + end;
            for (const Connection& connection : map.at(segment, end)) {
                const std::int64_t turn = turnUnits(connection.turn);
                const std::int64_t length = halves[static_cast<std::size_t>(segment)] +
                                            halves[static_cast<std::size_t>(connection.to)];
                StepCost cost{turn, length};
                if (depth == DepthKind::Metric)
                    cost = {length, turn};
                else if (depth == DepthKind::Topological)
                    cost = {map.segment(segment).sourceLine != map.segment(connection.to).sourceLine
                                ? 1
                                : 0,
                            length};
                m_targets.push_back(2 * connection.to + 1 - connection.toEnd);
                m_costs.push_back(cost);
                m_largestPrimaryStep = std::max(m_largestPrimaryStep, cost.primary);
            }
            m_starts[static_cast<std::size_t>(state) + 1] =
                static_cast<std::int64_t>(m_targets.size());
        }
    }
}

std::int64_t SearchGraph::turnUnits(double rightAngles) const {
    if (m_tulipBins > 0)
        return WholeUnits(rightAngles * (m_tulipBins / 2 + 1) / 2 + kRoundingAllowance);
    return WholeUnits(rightAngles * kFineTurnUnits + kRoundingAllowance);
}

std::int64_t SearchGraph::lengthUnits(double length) const {
    return WholeUnits(length / m_lengthUnit);
}

double SearchGraph::depthOf(double value) const {
    switch (m_depth) {
    case DepthKind::Angular:
        return value / m_turnUnitsPerRightAngle;
    case DepthKind::Metric:
        return value * m_lengthUnit;
    case DepthKind::Topological:
        return value;
    }
    return value;
}

} // namespace vantrel::segment

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

// Segments in the order of their midpoints along a Hilbert curve over the map, so that segments
// near each other are mostly near in memory too, and a search touches few cache lines.
std::vector<int> LocalOrder(const SegmentMap& map) {
    const int count = map.segmentCount();
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    std::vector<std::pair<double, double>> middles;
    for (const Segment& segment : map.segments()) {
        const double x = (segment.line.x1 + segment.line.x2) / 2;
        const double y = (segment.line.y1 + segment.line.y2) / 2;
        if (middles.empty() || x < minX)
            minX = x;
        if (middles.empty() || y < minY)
            minY = y;
        if (middles.empty() || x > maxX)
            maxX = x;
        if (middles.empty() || y > maxY)
            maxY = y;
        middles.emplace_back(x, y);
    }
    constexpr std::uint32_t kSide = 1u << 16;
    const double size = std::max(maxX - minX, maxY - minY);
    const double scale = size > 0 ? (kSide - 1) / size : 0;
    std::vector<std::pair<std::uint64_t, int>> keyed;
    for (int index = 0; index < count; ++index) {
        const auto [x, y] = middles[static_cast<std::size_t>(index)];
        auto hx = static_cast<std::uint32_t>(std::clamp((x - minX) * scale, 0.0, kSide - 1.0));
        auto hy = static_cast<std::uint32_t>(std::clamp((y - minY) * scale, 0.0, kSide - 1.0));
        std::uint64_t distance = 0;
        for (std::uint32_t half = kSide / 2; half > 0; half /= 2) {
            const std::uint32_t rx = (hx & half) ? 1 : 0, ry = (hy & half) ? 1 : 0;
            distance += std::uint64_t{half} * half * ((3 * rx) ^ ry);
            if (ry == 0) {
                if (rx == 1) {
                    hx = kSide - 1 - hx;
                    hy = kSide - 1 - hy;
                }
                std::swap(hx, hy);
            }
        }
        keyed.emplace_back(distance, index);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<int> order;
    order.reserve(keyed.size());
    for (const auto& [distance, index] : keyed)
        order.push_back(index);
    return order;
}

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

    m_segmentOf = LocalOrder(map);
    m_placeOf.assign(m_segmentOf.size(), 0);
    for (int place = 0; place < m_segmentCount; ++place)
        m_placeOf[static_cast<std::size_t>(m_segmentOf[static_cast<std::size_t>(place)])] = place;

    const std::size_t states = 2 * static_cast<std::size_t>(m_segmentCount);
    m_starts.assign(states + 1, 0);
    for (int place = 0; place < m_segmentCount; ++place) {
        const int segment = m_segmentOf[static_cast<std::size_t>(place)];
        for (const int end : {0, 1}) {
            const int state = 2 * place + end;
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
                m_targets.push_back(2 * placeOf(connection.to) + 1 - connection.toEnd);
                m_costs.push_back(cost);
                m_largestPrimaryStep = std::max(m_largestPrimaryStep, cost.primary);
            }
            m_starts[static_cast<std::size_t>(state) + 1] =
                static_cast<std::int64_t>(m_targets.size());
        }
    }

    m_halfLengths.resize(m_segmentOf.size());
    for (int place = 0; place < m_segmentCount; ++place)
        m_halfLengths[static_cast<std::size_t>(place)] =
            halves[static_cast<std::size_t>(m_segmentOf[static_cast<std::size_t>(place)])];
    m_inlineSteps.assign(states, InlineSteps{-1, {}});
    for (std::size_t state = 0; state < states; ++state) {
        InlineSteps& inlined = m_inlineSteps[state];
        const std::int64_t first = m_starts[state], end = m_starts[state + 1];
        if (end - first > InlineSteps::kMost)
            continue;
        inlined.count = static_cast<std::int32_t>(end - first);
        for (std::int64_t step = first; step < end; ++step) {
            const StepCost cost = m_costs[static_cast<std::size_t>(step)];
            const std::int64_t other = depth == DepthKind::Metric ? cost.secondary : cost.primary;
            if (other > std::numeric_limits<std::uint32_t>::max()) {
                inlined.count = -1;
                break;
            }
            inlined.steps[step - first] = {m_targets[static_cast<std::size_t>(step)],
                                           static_cast<std::uint32_t>(other)};
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

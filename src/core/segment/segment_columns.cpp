#include "core/segment/segment_columns.h"

#include "core/export/measures_csv.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace vantrel::segment {
namespace {

using exports::MeasureColumn;
using Kind = MeasureColumn::Kind;
using Value = std::optional<double>;

template <class Get> MeasureColumn Column(std::string name, Kind kind, Get get) {
    return {std::move(name), kind,
            [get](int index) -> Value { return get(static_cast<std::size_t>(index)); }};
}

// The normalised measures after Hillier, Yang and Turner (2012); nothing for a segment that
// reaches no other.
Value Nain(std::int32_t nodes, double depth) {
    if (nodes <= 1)
        return std::nullopt;
    return std::pow(static_cast<double>(nodes), 1.2) / (depth + 2);
}

Value Nach(std::int32_t nodes, double choice, double depth) {
    if (nodes <= 1)
        return std::nullopt;
    return std::log(choice + 1) / std::log(depth + 3);
}

// NC^2 / TD (or the total length squared over the weighted total depth); nothing where the
// total depth is 0.
Value Integration(double reach, double depth) {
    if (!(depth > 0))
        return std::nullopt;
    return reach * reach / depth;
}

void AddRadiusColumns(std::vector<MeasureColumn>& columns, const RadiusResults& r) {
    const std::string suffix = RadiusSuffix(r.radius);
    const bool choice = !r.choice.empty();
    columns.push_back(Column("node_count" + suffix, Kind::Integer,
                             [&r](std::size_t i) -> Value { return r.nodeCount[i]; }));
    columns.push_back(Column("total_depth" + suffix, Kind::Double,
                             [&r](std::size_t i) -> Value { return r.totalDepth[i]; }));
    columns.push_back(Column("mean_depth" + suffix, Kind::Double, [&r](std::size_t i) -> Value {
        if (r.nodeCount[i] <= 1)
            return std::nullopt;
        return r.totalDepth[i] / (r.nodeCount[i] - 1);
    }));
    columns.push_back(Column("integration" + suffix, Kind::Double, [&r](std::size_t i) {
        return Integration(r.nodeCount[i], r.totalDepth[i]);
    }));
    columns.push_back(Column("nain" + suffix, Kind::Double, [&r](std::size_t i) {
        return Nain(r.nodeCount[i], r.totalDepth[i]);
    }));
    columns.push_back(Column("total_length" + suffix, Kind::Double,
                             [&r](std::size_t i) -> Value { return r.totalLength[i]; }));
    if (choice) {
        columns.push_back(Column("choice" + suffix, Kind::Double,
                                 [&r](std::size_t i) -> Value { return r.choice[i]; }));
        columns.push_back(Column("nach" + suffix, Kind::Double, [&r](std::size_t i) {
            return Nach(r.nodeCount[i], r.choice[i], r.totalDepth[i]);
        }));
    }
    columns.push_back(Column("node_count_wl" + suffix, Kind::Double,
                             [&r](std::size_t i) -> Value { return r.totalLength[i]; }));
    columns.push_back(Column("total_depth_wl" + suffix, Kind::Double,
                             [&r](std::size_t i) -> Value { return r.weightedTotalDepth[i]; }));
    columns.push_back(Column("integration_wl" + suffix, Kind::Double, [&r](std::size_t i) {
        return Integration(r.totalLength[i], r.weightedTotalDepth[i]);
    }));
    if (choice)
        columns.push_back(Column("choice_wl" + suffix, Kind::Double,
                                 [&r](std::size_t i) -> Value { return r.weightedChoice[i]; }));
}

} // namespace

std::string RadiusSuffix(double radius) {
    if (radius == kRadiusN)
        return "";
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, radius);
    return "_r" + std::string(text, written.ptr);
}

std::vector<MeasureColumn> SegmentColumns(const SegmentTable& table) {
    const SegmentMap& map = table.map;
    std::vector<MeasureColumn> columns;
    columns.push_back(Column("number", Kind::Integer,
                             [](std::size_t i) -> Value { return static_cast<double>(i + 1); }));
    if (table.coordinates) {
        columns.push_back(Column("x1", Kind::Double, [&map](std::size_t i) -> Value {
            return map.segments()[i].line.x1;
        }));
        columns.push_back(Column("y1", Kind::Double, [&map](std::size_t i) -> Value {
            return map.segments()[i].line.y1;
        }));
        columns.push_back(Column("x2", Kind::Double, [&map](std::size_t i) -> Value {
            return map.segments()[i].line.x2;
        }));
        columns.push_back(Column("y2", Kind::Double, [&map](std::size_t i) -> Value {
            return map.segments()[i].line.y2;
        }));
    }
    const std::span<const std::int64_t> numbers = table.sourceNumbers;
    columns.push_back(Column("axial_line", Kind::Integer, [&map, numbers](std::size_t i) -> Value {
        const auto line = static_cast<std::size_t>(map.segments()[i].sourceLine);
        return numbers.empty() ? static_cast<double>(line + 1) : static_cast<double>(numbers[line]);
    }));
    const std::span<const std::int64_t> features = table.sourceFeatureIds;
    if (!features.empty())
        columns.push_back(
            Column("source_fid", Kind::Integer, [&map, features](std::size_t i) -> Value {
                return static_cast<double>(
                    features[static_cast<std::size_t>(map.segments()[i].sourceLine)]);
            }));
    columns.push_back(Column("segment_length", Kind::Double,
                             [&map](std::size_t i) -> Value { return map.segments()[i].length; }));
    columns.push_back(Column("connectivity", Kind::Integer, [&map](std::size_t i) -> Value {
        return map.connectivity(static_cast<int>(i));
    }));
    columns.push_back(Column("angular_connectivity", Kind::Double, [&map](std::size_t i) -> Value {
        return map.angularConnectivity(static_cast<int>(i));
    }));
    for (const RadiusResults& radius : table.radii)
        AddRadiusColumns(columns, radius);
    return columns;
}

void WriteSegmentMeasures(std::ostream& out, const SegmentTable& table) {
    exports::WriteColumns(out, SegmentColumns(table), table.map.segmentCount());
}

} // namespace vantrel::segment

#include "core/vga/vga_columns.h"

#include <string>

namespace vantrel::vga {

namespace {

using exports::MeasureColumn;
using Kind = MeasureColumn::Kind;

template <class T> MeasureColumn Column(std::string name, Kind kind, const std::vector<T>& values) {
    return exports::ValuesColumn(std::move(name), kind, values);
}

MeasureColumn Column(std::string name, const std::vector<Measure>& values) {
    return exports::MeasuresColumn(std::move(name), values);
}

MeasureColumn IsovistColumn(std::string name, const std::vector<IsovistMeasures>& isovists,
                            Measure IsovistMeasures::*measure) {
    return {std::move(name), Kind::Double, [&isovists, measure](int index) {
                return isovists[static_cast<std::size_t>(index)].*measure;
            }};
}

} // namespace

std::vector<MeasureColumn> VgaColumns(const VgaResult& result) {
    const PointGrid& grid = result.grid;
    std::vector<MeasureColumn> columns;
    columns.push_back({"x", Kind::Double, [&grid](int index) -> std::optional<double> {
                           return grid.location(index).x;
                       }});
    columns.push_back({"y", Kind::Double, [&grid](int index) -> std::optional<double> {
                           return grid.location(index).y;
                       }});
    columns.push_back(Column("connectivity", Kind::Integer, result.connectivity));
    columns.push_back(Column("point_first_moment", Kind::Double, result.local.firstMoment));
    columns.push_back(Column("point_second_moment", Kind::Double, result.local.secondMoment));
    for (const VisualColumns& visual : result.visual) {
        const std::string suffix = visual.radius.steps == analysis::MeasureRadius::kN
                                       ? ""
                                       : "_r" + std::to_string(visual.radius.steps);
        columns.push_back(Column("visual_node_count" + suffix, Kind::Integer, visual.nodeCount));
        columns.push_back(Column("visual_mean_depth" + suffix, visual.meanDepth));
        columns.push_back(Column("visual_integration_hh" + suffix, visual.integrationHH));
        columns.push_back(Column("visual_integration_pvalue" + suffix, visual.integrationPValue));
        columns.push_back(Column("visual_integration_tekl" + suffix, visual.integrationTekl));
        columns.push_back(Column("visual_entropy" + suffix, visual.entropy));
        columns.push_back(Column("visual_relativised_entropy" + suffix, visual.relativisedEntropy));
    }
    columns.push_back(Column("visual_clustering_coefficient", result.local.clustering));
    columns.push_back(Column("visual_control", result.local.control));
    columns.push_back(Column("visual_controllability", result.local.controllability));
    const auto& isovists = result.isovists;
    columns.push_back(IsovistColumn("isovist_area", isovists, &IsovistMeasures::area));
    columns.push_back(IsovistColumn("isovist_perimeter", isovists, &IsovistMeasures::perimeter));
    columns.push_back(
        IsovistColumn("isovist_occlusivity", isovists, &IsovistMeasures::occlusivity));
    columns.push_back(IsovistColumn("isovist_min_radial", isovists, &IsovistMeasures::minRadial));
    columns.push_back(IsovistColumn("isovist_max_radial", isovists, &IsovistMeasures::maxRadial));
    columns.push_back(
        IsovistColumn("isovist_compactness", isovists, &IsovistMeasures::compactness));
    columns.push_back(
        IsovistColumn("isovist_drift_magnitude", isovists, &IsovistMeasures::driftMagnitude));
    columns.push_back(IsovistColumn("isovist_drift_angle", isovists, &IsovistMeasures::driftAngle));
    columns.push_back(Column("through_vision", Kind::Integer, result.throughVision));
    if (result.paths) {
        const PathMeans& paths = *result.paths;
        if (!paths.metricNodeCount.empty()) {
            columns.push_back(
                Column("metric_mean_shortest_path_distance", paths.metricMeanDistance));
            columns.push_back(
                Column("metric_mean_straight_line_distance", paths.metricMeanStraightDistance));
            columns.push_back(Column("metric_mean_shortest_path_angle", paths.metricMeanAngle));
            columns.push_back(Column("metric_node_count", Kind::Integer, paths.metricNodeCount));
        }
        if (!paths.angularNodeCount.empty()) {
            columns.push_back(Column("angular_mean_depth", paths.angularMeanDepth));
            columns.push_back(Column("angular_total_depth", paths.angularTotalDepth));
            columns.push_back(Column("angular_node_count", Kind::Integer, paths.angularNodeCount));
        }
    }
    if (result.stepPaths) {
        const auto& visual = result.visualStepDepth;
        columns.push_back(
            {"visual_step_depth", Kind::Integer, [&visual](int index) -> std::optional<double> {
                 const std::int32_t depth = visual[static_cast<std::size_t>(index)];
                 return depth < 0 ? std::nullopt : std::optional<double>(depth);
             }});
        columns.push_back(Column("metric_step_depth", result.stepPaths->metric));
        columns.push_back(Column("angular_step_depth", result.stepPaths->angular));
    }
    return columns;
}

} // namespace vantrel::vga

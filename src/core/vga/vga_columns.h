// The columns of the points of a visibility graph analysis, for every writer of them (the CSV
// file, the GIS layer, the raster, the desktop's window).
#pragma once

#include "core/export/measure_columns.h"
#include "core/vga/vga_analysis.h"

#include <vector>

namespace vantrel::vga {

// "x", "y" (the cell's centre), "connectivity", "point_first_moment", "point_second_moment",
// then at radius n "visual_node_count", "visual_mean_depth", "visual_integration_hh",
// "visual_integration_pvalue", "visual_integration_tekl", "visual_entropy",
// "visual_relativised_entropy", the same at each step radius R with the suffix "_rR", then
// "visual_clustering_coefficient", "visual_control", "visual_controllability", "isovist_area",
// "isovist_perimeter", "isovist_occlusivity", "isovist_min_radial", "isovist_max_radial",
// "isovist_compactness", "isovist_drift_magnitude", "isovist_drift_angle", "through_vision";
// with metric paths "metric_mean_shortest_path_distance", "metric_mean_straight_line_distance",
// "metric_mean_shortest_path_angle", "metric_node_count"; with angular paths
// "angular_mean_depth", "angular_total_depth", "angular_node_count"; with origins
// "visual_step_depth", "metric_step_depth", "angular_step_depth". A measure that does not exist
// has no value. The columns refer to `result`, which must outlive them.
std::vector<exports::MeasureColumn> VgaColumns(const VgaResult& result);

// The column the maps are coloured by.
inline constexpr char kStyledColumn[] = "visual_integration_hh";

} // namespace vantrel::vga

// The points of a visibility graph analysis as GIS data: a styled point layer `vga_points`, and
// a GeoTIFF raster with one band per measure.
#pragma once

#include "core/export/measure_columns.h"
#include "core/vga/point_grid.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace vantrel::gis {

inline constexpr char kVgaLayer[] = "vga_points";

struct VgaPoints {
    const vga::PointGrid& grid;
    std::span<const exports::MeasureColumn> columns;
    // The walls' spatial reference system as WKT; empty when they have none.
    std::string crsWkt;
    // The column the default style colours the cells by.
    std::string styledColumn;
};

// Writes the layer `vga_points` (a point at each cell's centre with every column) into `folder`
// in the format `target`'s extension names (see IsLayerFileName), under `target`'s name: a
// GeoPackage holds the layer and its style; the other formats are the layer alone, with the
// style beside it in a .qml file of the same name. The style draws each cell as a square of the
// grid's spacing in the program's 13 colours, from the lowest value of the styled column (blue)
// to the highest (red). A failure names `target`.
std::optional<std::string> WriteVgaPoints(const std::filesystem::path& folder,
                                          const std::filesystem::path& target,
                                          const VgaPoints& points);

// Writes a GeoTIFF of the grid into `file`, one 64-bit band per column (x and y, which the cells'
// places give, left out), named by its column; cells without a point or without a value hold no
// data (NaN). A failure names `target`.
std::optional<std::string> WriteVgaRaster(const std::filesystem::path& file,
                                          const std::filesystem::path& target,
                                          const VgaPoints& points);

} // namespace vantrel::gis

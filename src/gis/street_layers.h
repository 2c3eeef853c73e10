// A prepared street map as GIS layers: `segments` (each with the id of its source feature),
// `problems` (every change and every thing still to check, at a point) and `problem_lines` (those
// of them that are lines), with default QGIS styles: problems coloured by type.
#pragma once

#include "core/app/project_state.h"
#include "core/streets/problems.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace vantrel::gis {

inline constexpr char kSegmentsLayer[] = "segments";
inline constexpr char kProblemsLayer[] = "problems";
inline constexpr char kProblemLinesLayer[] = "problem_lines";

struct StreetLayers {
    std::span<const MapLine> segments = {};
    std::span<const std::int64_t> sources = {};
    std::string crsWkt = {};
    std::span<const streets::Problem> problems = {};
};

// Writes the layers into `folder` in the format of `target`'s extension (a name IsLayerFileName
// accepts), under `target`'s name: a GeoPackage holds the three layers and their styles; other
// formats give NAME_segments.EXT, NAME_problems.EXT and NAME_problem_lines.EXT, each with its
// style beside it in a .qml file. A failure names `target`.
std::optional<std::string> WriteStreetLayers(const std::filesystem::path& folder,
                                             const std::filesystem::path& target,
                                             const StreetLayers& layers);

// The default styles: segments in one dark grey; problems by type.
std::string SegmentStyle();
std::string ProblemStyle(bool lines);

} // namespace vantrel::gis

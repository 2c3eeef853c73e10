// Visibility graph analysis against the values the peer tool (depthmapX) wrote for two tiny rooms:
// every measure of every point.
#include "core/vga/vga_analysis.h"
#include "core/vga/vga_columns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace vantrel::vga {
namespace {

const std::string kFolder = VANTREL_TEST_DATA "/reference/vga/";

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');)
        fields.push_back(field);
    return fields;
}

std::vector<MapLine> ReadWalls(const std::string& name) {
    std::ifstream in(kFolder + name + ".input.csv");
    std::vector<MapLine> walls;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const auto fields = Fields(line);
        walls.push_back({std::stod(fields[0]), std::stod(fields[1]), std::stod(fields[2]),
                         std::stod(fields[3])});
    }
    return walls;
}

// One row per point, the peer's column names as keys.
std::vector<std::map<std::string, double>> ReadPeer(const std::string& name) {
    std::ifstream in(kFolder + name + ".peer_all.csv");
    std::string line;
    std::getline(in, line);
    const auto headings = Fields(line);
    std::vector<std::map<std::string, double>> rows;
    while (std::getline(in, line)) {
        const auto fields = Fields(line);
        auto& row = rows.emplace_back();
        for (std::size_t column = 0; column < headings.size(); ++column)
            row[headings[column]] = std::stod(fields[column]);
    }
    return rows;
}

struct Pairing {
    const char* peer;
    const char* ours;
    // Relative to the peer's value, or absolute below 1.
    double tolerance;
    // Ours may be lower: of metric paths of one length the peer keeps the first its rounding
    // finds, this program the one that turns least.
    bool atMost = false;
};

// The peer's 32-bit floats hold about 7 digits; visibility measures agree to 1e-6, isovists to
// 1e-5. The peer's metric angle in a convex room is float noise of 3e-8 around 0.
constexpr double kVisibility = 1e-6;
constexpr double kIsovist = 1e-5;
const Pairing kPairings[] = {
    {"Connectivity", "connectivity", 0},
    {"Point First Moment", "point_first_moment", kVisibility},
    {"Point Second Moment", "point_second_moment", kVisibility},
    {"Visual Node Count", "visual_node_count", 0},
    {"Visual Mean Depth", "visual_mean_depth", kVisibility},
    {"Visual Integration [HH]", "visual_integration_hh", kVisibility},
    {"Visual Integration [P-value]", "visual_integration_pvalue", kVisibility},
    {"Visual Integration [Tekl]", "visual_integration_tekl", kVisibility},
    {"Visual Entropy", "visual_entropy", kVisibility},
    {"Visual Relativised Entropy", "visual_relativised_entropy", kVisibility},
    {"Visual Clustering Coefficient", "visual_clustering_coefficient", kVisibility},
    {"Visual Control", "visual_control", kVisibility},
    {"Visual Controllability", "visual_controllability", kVisibility},
    {"Isovist Area", "isovist_area", kIsovist},
    {"Isovist Perimeter", "isovist_perimeter", kIsovist},
    {"Isovist Occlusivity", "isovist_occlusivity", kIsovist},
    {"Isovist Min Radial", "isovist_min_radial", kIsovist},
    {"Isovist Max Radial", "isovist_max_radial", kIsovist},
    {"Isovist Compactness", "isovist_compactness", kIsovist},
    {"Isovist Drift Magnitude", "isovist_drift_magnitude", kIsovist},
    {"Isovist Drift Angle", "isovist_drift_angle", kIsovist},
    {"Through vision", "through_vision", 0},
    {"Metric Mean Shortest-Path Distance", "metric_mean_shortest_path_distance", kVisibility},
    {"Metric Mean Straight-Line Distance", "metric_mean_straight_line_distance", kVisibility},
    {"Metric Mean Shortest-Path Angle", "metric_mean_shortest_path_angle", kVisibility, true},
    {"Metric Node Count", "metric_node_count", 0},
    {"Angular Mean Depth", "angular_mean_depth", kVisibility},
    {"Angular Total Depth", "angular_total_depth", kVisibility},
    {"Angular Node Count", "angular_node_count", 0},
    {"Visual Step Depth", "visual_step_depth", 0},
    {"Metric Step Shortest-Path Length", "metric_step_depth", kVisibility},
    {"Angular Step Depth", "angular_step_depth", kVisibility},
};

VgaResult Analyse(const std::string& room, int threads) {
    const WallSet walls(ReadWalls(room));
    VgaOptions options;
    options.spacing = 0.5;
    options.fillPoints = {{1.0, 1.0}};
    options.origins = {{1.0, 1.0}};
    options.metric = options.angular = true;
    options.threads = threads;
    auto run = RunVga(walls, options);
    return std::get<VgaResult>(std::move(run));
}

// `lower` counts the values of the atMost columns that are lower than the peer's.
void ExpectPeerValues(const std::string& room, int& lower) {
    lower = 0;
    const VgaResult result = Analyse(room, 2);
    const auto columns = VgaColumns(result);
    const auto peer = ReadPeer(room);
    ASSERT_EQ(result.pointCount(), static_cast<int>(peer.size()));
    std::map<std::string, const exports::MeasureColumn*> byName;
    for (const auto& column : columns)
        byName[column.name] = &column;
    for (const auto& row : peer) {
        const auto cell = result.grid.cellAt({row.at("x"), row.at("y")});
        ASSERT_TRUE(cell);
        const int point = result.grid.pointAt(cell->first, cell->second);
        ASSERT_GE(point, 0) << row.at("x") << "," << row.at("y");
        for (const Pairing& pairing : kPairings) {
            ASSERT_TRUE(byName.count(pairing.ours)) << pairing.ours;
            const std::optional<double> ours = byName[pairing.ours]->value(point);
            const double theirs = row.at(pairing.peer);
            const std::string where = std::string(pairing.ours) + " at (" +
                                      std::to_string(row.at("x")) + ", " +
                                      std::to_string(row.at("y")) + ")";
            if (theirs == -1 && pairing.tolerance > 0) {
                EXPECT_FALSE(ours) << where << " is " << *ours << ", the peer has none";
                continue;
            }
            ASSERT_TRUE(ours) << where << " is empty, the peer has " << theirs;
            const double tolerance = pairing.tolerance * std::max(1.0, std::fabs(theirs));
            if (pairing.atMost && *ours < theirs - tolerance)
                ++lower;
            else
                EXPECT_NEAR(*ours, theirs, tolerance) << where;
        }
    }
}

TEST(VgaPeerAgreement, EveryMeasureOfTheConvexRoom) {
    int lower = 0;
    ExpectPeerValues("vga_rect", lower);
    EXPECT_EQ(lower, 0);
}

// From (3, 2), (0.5, 4) is as far by (1.5, 2.5) as by (1, 3), the first turning less; so for the
// four points of the L that reach it thus, the mean metric angle is lower than the peer's.
TEST(VgaPeerAgreement, EveryMeasureOfTheLRoom) {
    int lower = 0;
    ExpectPeerValues("vga_L", lower);
    EXPECT_EQ(lower, 4);
}

TEST(VgaPeerAgreement, ResultsDoNotDependOnTheThreadCount) {
    const VgaResult one = Analyse("vga_L", 1);
    const VgaResult three = Analyse("vga_L", 3);
    const auto first = VgaColumns(one);
    const auto second = VgaColumns(three);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t column = 0; column < first.size(); ++column)
        for (int point = 0; point < one.pointCount(); ++point)
            EXPECT_EQ(first[column].value(point), second[column].value(point))
                << first[column].name;
}

} // namespace
} // namespace vantrel::vga

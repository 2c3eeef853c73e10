// Segment maps and segment analysis against the reference peer's outputs on tiny maps.
#include "core/segment/segment_analysis.h"
#include "support/segment_cases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

namespace vantrel::segment {
namespace {

using reference::CaseMap;
using reference::ColumnLookup;
using reference::MatchPeerRows;
using reference::ReadPeerTable;

void ExpectRelativelyNear(double expected, double actual, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-6 * std::max(1.0, std::abs(expected))) << what;
}

struct SegmentMapCase {
    std::string name;
    std::string peerName;
    double stubPercent;
};

TEST(SegmentMapsAgreeWithThePeer, SegmentsLengthsLinesAndConnectionsWithTheirTurns) {
    const SegmentMapCase cases[] = {{"seg_plus", "seg_plus", 0},
                                    {"seg_T", "seg_T", 0},
                                    {"seg_T_stub", "seg_T_stub", 0},
                                    {"seg_T_stub", "seg_T_stub_crsl9", 9},
                                    {"seg_T_stub", "seg_T_stub_crsl10", 10},
                                    {"seg_square", "seg_square", 0},
                                    {"seg_bend30", "seg_bend30", 0},
                                    {"seg_comb", "seg_comb", 0},
                                    {"seg_star3", "seg_star3", 0},
                                    {"seg_grid", "seg_grid", 0},
                                    {"rcl_mixed", "rcl_mixed", 0}};
    for (const SegmentMapCase& each : cases) {
        SCOPED_TRACE(each.peerName);
        const SegmentMap map = CaseMap(each.name, each.stubPercent);
        const auto peer = ReadPeerTable(each.peerName + ".peer_segmap.csv");
        const std::vector<int> ours = MatchPeerRows(map, peer);
        ASSERT_EQ(map.segmentCount(), static_cast<int>(ours.size()));
        const bool roadCentreLines = each.name.starts_with("rcl_");
        for (std::size_t row = 0; row < ours.size(); ++row) {
            const int segment = ours[row];
            ExpectRelativelyNear(peer.at("Segment Length")[row], map.segment(segment).length,
                                 "length");
            EXPECT_EQ(map.connectivity(segment), peer.at("Connectivity")[row]);
            EXPECT_NEAR(map.angularConnectivity(segment), peer.at("Angular Connectivity")[row],
                        1e-6);
            if (!roadCentreLines) {
                EXPECT_EQ(map.segment(segment).sourceLine, peer.at("Axial Line Ref")[row]);
            }
        }

        // Connections as (from, to, turn), the peer's refs translated to our segments.
        const auto connections = ReadPeerTable(each.peerName + ".peer_connections.csv");
        std::set<std::tuple<int, int, long>> expected, actual;
        const auto rounded = [](double turn) { return std::lround(turn * 1e5); };
        for (std::size_t row = 0; row < connections.at("refA").size(); ++row)
            expected.emplace(ours[static_cast<std::size_t>(connections.at("refA")[row])],
                             ours[static_cast<std::size_t>(connections.at("refB")[row])],
                             rounded(connections.at("ss_weight")[row]));
        for (int segment = 0; segment < map.segmentCount(); ++segment)
            for (const int end : {0, 1})
                for (const Connection& connection : map.at(segment, end))
                    actual.emplace(segment, connection.to, rounded(connection.turn));
        EXPECT_EQ(actual, expected);
    }
}

struct TulipCase {
    std::string name;
    std::string file;
    RadiusKind kind;
    std::vector<double> radii;
    // The peer's heading suffix of each radius.
    std::vector<std::string> suffixes;
    // On maps with loops the peer's choice follows a search tree of its own.
    bool treeLike;
};

std::vector<TulipCase> TulipCases() {
    const std::vector<double> n = {kRadiusN};
    return {
        {"seg_T", "seg_T.peer_tulip1024_rn_choice.csv", RadiusKind::Metric, n, {""}, true},
        {"seg_plus", "seg_plus.peer_tulip1024_rn_choice.csv", RadiusKind::Metric, n, {""}, true},
        {"seg_bend30",
         "seg_bend30.peer_tulip1024_rn_choice.csv",
         RadiusKind::Metric,
         n,
         {""},
         true},
        {"seg_square",
         "seg_square.peer_tulip1024_rn_choice.csv",
         RadiusKind::Metric,
         n,
         {""},
         false},
        {"seg_grid", "seg_grid.peer_tulip1024_rn_choice.csv", RadiusKind::Metric, n, {""}, false},
        {"rcl_mixed", "rcl_mixed.peer_tulip1024_rn_choice.csv", RadiusKind::Metric, n, {""}, true},
        {"seg_comb", "seg_comb.peer_tulip1024_rn_choice.csv", RadiusKind::Metric, n, {""}, true},
        {"seg_comb",
         "seg_comb.peer_tulip1024_angular_r1_2_n_choice.csv",
         RadiusKind::Angular,
         {1, 2, kRadiusN},
         {" R1.00", " R2.00", ""},
         true},
        {"seg_comb",
         "seg_comb.peer_tulip1024_steps_r1_2_n_choice.csv",
         RadiusKind::Steps,
         {1, 2, kRadiusN},
         {" R1 step", " R2 step", ""},
         true},
        {"seg_comb",
         "seg_comb.peer_tulip1024_metric_r5_7_8_15_17_18_n_choice.csv",
         RadiusKind::Metric,
         {5, 7, 8, 15, 17, 18, kRadiusN},
         {" R5.00 metric", " R7.00 metric", " R8.00 metric", " R15.00 metric", " R17.00 metric",
          " R18.00 metric", ""},
         true},
    };
}

// Spearman's rank correlation, ties given their mean rank.
double RankCorrelation(const std::vector<double>& a, const std::vector<double>& b) {
    const auto ranks = [](const std::vector<double>& values) {
        std::vector<double> rank(values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            double below = 0, equal = 0;
            for (const double other : values) {
                below += other < values[i];
                equal += other == values[i];
            }
            rank[i] = below + (equal + 1) / 2;
        }
        return rank;
    };
    const std::vector<double> ra = ranks(a), rb = ranks(b);
    const double mean = (static_cast<double>(a.size()) + 1) / 2;
    double covariance = 0, varianceA = 0, varianceB = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        covariance += (ra[i] - mean) * (rb[i] - mean);
        varianceA += (ra[i] - mean) * (ra[i] - mean);
        varianceB += (rb[i] - mean) * (rb[i] - mean);
    }
    return covariance / std::sqrt(varianceA * varianceB);
}

TEST(TulipAnalysisAgreesWithThePeer, NodeCountTotalDepthIntegrationAndChoiceAtEveryRadius) {
    for (const TulipCase& each : TulipCases()) {
        SCOPED_TRACE(each.file);
        const SegmentMap map = CaseMap(each.name);
        const auto peer = ReadPeerTable(each.file);
        const std::vector<int> ours = MatchPeerRows(map, peer);
        const ColumnLookup columns(
            map,
            AnalyseSegments(map, {.radiusKind = each.kind, .radii = each.radii, .choice = true}));
        for (std::size_t radius = 0; radius < each.radii.size(); ++radius) {
            const std::string suffix = RadiusSuffix(each.radii[radius]);
            const std::string peerSuffix = each.suffixes[radius];
            std::vector<double> peerChoice, ourChoice;
            for (std::size_t row = 0; row < ours.size(); ++row) {
                const int segment = ours[row];
                const double nodes = peer.at("T1024 Node Count" + peerSuffix)[row];
                EXPECT_EQ(columns.value("node_count" + suffix, segment), nodes);
                const double depth = peer.at("T1024 Total Depth" + peerSuffix)[row];
                EXPECT_EQ(columns.value("total_depth" + suffix, segment), nodes > 1 ? depth : 0);
                const double integration = peer.at("T1024 Integration" + peerSuffix)[row];
                const auto ourIntegration = columns.value("integration" + suffix, segment);
                if (integration < 0) {
                    EXPECT_FALSE(ourIntegration);
                } else {
                    ASSERT_TRUE(ourIntegration);
                    ExpectRelativelyNear(integration, *ourIntegration, "integration" + suffix);
                }
                peerChoice.push_back(peer.at("T1024 Choice" + peerSuffix)[row]);
                ourChoice.push_back(*columns.value("choice" + suffix, segment));
            }
            if (each.treeLike) {
                EXPECT_EQ(ourChoice, peerChoice) << "choice" << suffix;
                continue;
            }
            // Around loops the peer's own search tree reorders the segments between the ends,
            // but the ends carry nothing in both, and the order is broadly the same.
            // (Around the square the peer gives 0 everywhere: nothing to compare.)
            if (*std::min_element(peerChoice.begin(), peerChoice.end()) !=
                *std::max_element(peerChoice.begin(), peerChoice.end())) {
                for (std::size_t row = 0; row < ours.size(); ++row)
                    EXPECT_EQ(ourChoice[row] == 0, peerChoice[row] == 0) << "row " << row;
                EXPECT_GT(RankCorrelation(ourChoice, peerChoice), 0.75) << "choice" << suffix;
            }
        }
    }
}

TEST(TulipAnalysisAgreesWithThePeer, LengthWeightedColumns) {
    const SegmentMap map = CaseMap("seg_comb");
    const auto peer = ReadPeerTable("seg_comb.peer_tulip1024_rn_choice_weighted_seglen.csv");
    const std::vector<int> ours = MatchPeerRows(map, peer);
    const ColumnLookup columns(map, AnalyseSegments(map, {.choice = true}));
    for (std::size_t row = 0; row < ours.size(); ++row) {
        const int segment = ours[row];
        EXPECT_EQ(columns.value("node_count_wl", segment),
                  peer.at("T1024 Total Segment Length")[row]);
        EXPECT_EQ(columns.value("total_length", segment),
                  peer.at("T1024 Total Segment Length")[row]);
        EXPECT_EQ(columns.value("total_depth_wl", segment),
                  peer.at("T1024 Total Depth [Segment Length Wgt]")[row]);
        ExpectRelativelyNear(peer.at("T1024 Integration [Segment Length Wgt]")[row],
                             *columns.value("integration_wl", segment), "integration_wl");
        EXPECT_EQ(columns.value("choice_wl", segment),
                  peer.at("T1024 Choice [Segment Length Wgt]")[row]);
    }
}

// Without bins the search is exact; the peer's full angular analysis agrees with it on these
// maps, which are too small for its one-visit-per-segment shortcut to matter.
TEST(UnquantisedAngularAnalysisAgreesWithThePeer, NodeCountAndTotalDepth) {
    const std::pair<std::string, std::vector<double>> cases[] = {
        {"seg_T", {kRadiusN}},      {"seg_plus", {kRadiusN}},  {"seg_bend30", {kRadiusN}},
        {"seg_square", {kRadiusN}}, {"seg_star3", {kRadiusN}}, {"seg_comb", {1, kRadiusN}}};
    for (const auto& [name, radii] : cases) {
        SCOPED_TRACE(name);
        const SegmentMap map = CaseMap(name);
        const std::string file =
            name + (radii.size() > 1 ? ".peer_angular_r1_n.csv" : ".peer_angular_rn.csv");
        const auto peer = ReadPeerTable(file);
        const std::vector<int> ours = MatchPeerRows(map, peer);
        const ColumnLookup columns(
            map, AnalyseSegments(
                     map, {.tulipBins = 0, .radiusKind = RadiusKind::Angular, .radii = radii}));
        for (const double radius : radii) {
            const std::string peerSuffix = radius == kRadiusN ? "" : " R1.00";
            for (std::size_t row = 0; row < ours.size(); ++row) {
                EXPECT_EQ(columns.value("node_count" + RadiusSuffix(radius), ours[row]),
                          peer.at("Angular Node Count" + peerSuffix)[row]);
                EXPECT_NEAR(*columns.value("total_depth" + RadiusSuffix(radius), ours[row]),
                            peer.at("Angular Total Depth" + peerSuffix)[row], 1e-6);
            }
        }
    }
}

TEST(MetricAndTopologicalAnalysesAgreeWithThePeer, NodeCountTotalDepthMeanDepthAndLength) {
    const std::tuple<std::string, std::string, DepthKind, std::string> cases[] = {
        {"seg_comb", "seg_comb.peer_metric_sr12.csv", DepthKind::Metric, "Metric "},
        {"seg_comb", "seg_comb.peer_topological_rn.csv", DepthKind::Topological, "Topological "},
        {"seg_square", "seg_square.peer_topological_rn.csv", DepthKind::Topological,
         "Topological "}};
    for (const auto& [name, file, depth, prefix] : cases) {
        SCOPED_TRACE(file);
        const SegmentMap map = CaseMap(name);
        const auto peer = ReadPeerTable(file);
        const std::vector<int> ours = MatchPeerRows(map, peer);
        const ColumnLookup columns(map, AnalyseSegments(map, {.depth = depth}));
        for (std::size_t row = 0; row < ours.size(); ++row) {
            EXPECT_EQ(columns.value("node_count", ours[row]), peer.at(prefix + "Total Nodes")[row]);
            EXPECT_EQ(columns.value("total_depth", ours[row]),
                      peer.at(prefix + "Total Depth")[row]);
            ExpectRelativelyNear(peer.at(prefix + "Mean Depth")[row],
                                 *columns.value("mean_depth", ours[row]), "mean depth");
            ExpectRelativelyNear(peer.at(prefix + "Total Length")[row],
                                 *columns.value("total_length", ours[row]), "total length");
        }
    }
}

TEST(TulipBinsAgreeWithThePeer, EachTurnRoundedDownOnItsOwn) {
    const auto peer = reference::ReadPeerTexts("tulip_bins.csv");
    for (std::size_t row = 0; row < peer.at("bins").size(); ++row) {
        const int bins = std::stoi(peer.at("bins")[row]);
        const std::string name = peer.at("case")[row];
        SCOPED_TRACE(name + " with " + std::to_string(bins) + " bins");
        const SegmentMap map = CaseMap(name);
        const auto results = AnalyseSegments(map, {.tulipBins = bins});
        const auto ours = MatchPeerRows(map, ReadPeerTable(name + ".peer_segmap.csv"));
        const auto root = static_cast<std::size_t>(ours[std::stoul(peer.at("root_ref")[row])]);
        EXPECT_NEAR(results[0].totalDepth[root], std::stod(peer.at("peer_total_depth")[row]), 1e-7);
    }
}

} // namespace
} // namespace vantrel::segment

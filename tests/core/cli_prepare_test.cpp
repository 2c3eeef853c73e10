// The prepare command on OpenStreetMap XML files written here and on GIS layers made with GDAL:
// what it reads, the system it projects to, the layers and styles it writes, and a prepared map
// prepared again.
#include "cli/prepare_command.h"

#include "gis/layer_reader.h"

#include "../../bench/synthetic_town.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace vantrel::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

struct Node {
    long long id;
    double lat, lon;
};

struct OsmWay {
    long long id;
    std::vector<long long> nodes;
    std::map<std::string, std::string> tags;
};

std::string OsmXml(const std::vector<Node>& nodes, const std::vector<OsmWay>& ways) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\">\n";
    char text[128];
    for (const Node& node : nodes) {
        std::snprintf(text, sizeof text, "  <node id=\"%lld\" lat=\"%.7f\" lon=\"%.7f\"/>\n",
                      node.id, node.lat, node.lon);
        xml += text;
    }
    for (const OsmWay& way : ways) {
        xml += "  <way id=\"" + std::to_string(way.id) + "\">";
        for (const long long node : way.nodes)
            xml += "<nd ref=\"" + std::to_string(node) + "\"/>";
        for (const auto& [key, value] : way.tags)
            xml += "<tag k=\"" + key + "\" v=\"" + value + "\"/>";
        xml += "</way>\n";
    }
    return xml + "</osm>\n";
}

std::map<std::string, std::string> Highway(const std::string& kind) {
    return {{"highway", kind}};
}

struct Feature {
    MapLine line;
    std::int64_t source;
};

class PrepareCommand : public ::testing::Test {
protected:
    void SetUp() override {
        GDALAllRegister();
        m_folder = fs::temp_directory_path() / ("vantrel_prepare_" + std::to_string(::getpid()) +
                                                "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path Write(const std::string& name, const std::string& text) const {
        std::ofstream(m_folder / name) << text;
        return m_folder / name;
    }

    // Runs `prepare` with these words after it; the fault, empty when none.
    std::string Run(std::vector<std::string> words) {
        const std::vector<std::string_view> views(words.begin(), words.end());
        const ParsedPrepare parsed = ParsePrepareArguments(views);
        if (!parsed.error.empty())
            return "usage: " + parsed.error;
        std::ostringstream logText;
        StageLog log(logText, {false, false, false});
        const auto fault = RunPrepare(parsed.options, log);
        m_log = logText.str();
        return fault.value_or("");
    }

    // The features of a layer written, with their source_fid.
    std::vector<Feature> Read(const fs::path& file, const char* layerName) const {
        const GDALDatasetUniquePtr dataset(GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR));
        EXPECT_NE(dataset, nullptr) << file;
        std::vector<Feature> features;
        if (!dataset)
            return features;
        OGRLayer* layer = dataset->GetLayerByName(layerName);
        EXPECT_NE(layer, nullptr) << layerName;
        if (!layer)
            return features;
        for (const auto& feature : *layer) {
            const OGRLineString* line = feature->GetGeometryRef()->toLineString();
            features.push_back({{line->getX(0), line->getY(0), line->getX(1), line->getY(1)},
                                feature->GetFieldAsInteger64("source_fid")});
        }
        return features;
    }

    std::string CrsOf(const fs::path& file, const char* layerName) const {
        const GDALDatasetUniquePtr dataset(GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR));
        const OGRSpatialReference* crs = dataset->GetLayerByName(layerName)->GetSpatialRef();
        if (!crs)
            return "";
        if (crs->IsLocal())
            return "undefined Cartesian";
        return std::string(crs->GetAuthorityName(nullptr)) + ":" + crs->GetAuthorityCode(nullptr);
    }

    // The problems layer, as type and status to count.
    std::map<std::string, int> Problems(const fs::path& file) const {
        const GDALDatasetUniquePtr dataset(GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR));
        std::map<std::string, int> counts;
        for (const auto& feature : *dataset->GetLayerByName("problems"))
            ++counts[std::string(feature->GetFieldAsString("type")) + "/" +
                     feature->GetFieldAsString("status")];
        return counts;
    }

    fs::path m_folder;
    std::string m_log;
};

TEST_F(PrepareCommand, OpenStreetMapWaysAreSplitAtSharedNodesAndBridgesStayApart) {
    const fs::path osm =
        Write("junction.osm",
              OsmXml({{1, 51.5, -0.101},
                      {2, 51.5, -0.1},
                      {3, 51.5, -0.099},
                      {4, 51.501, -0.1},
                      {5, 51.499, -0.1},
                      {6, 51.4994, -0.1008},
                      {7, 51.5005, -0.0992},
                      {8, 51.5002, -0.0985}},
                     {{10, {1, 2, 3}, Highway("residential")},
                      {11, {4, 2, 5}, Highway("residential")},
                      {12, {6, 7}, {{"highway", "primary"}, {"bridge", "yes"}, {"layer", "1"}}},
                      {13, {1, 5}, {{"railway", "rail"}}},
                      {14, {3, 4}, Highway("proposed")},
                      {15, {3, 8}, Highway("footway")}}));
    const fs::path out = m_folder / "junction.gpkg";
    ASSERT_EQ(Run({osm.string(), "--out", out.string()}), "");
    EXPECT_THAT(m_log,
                HasSubstr("read 4 ways of the default highway classes as 6 straight pieces"));
    EXPECT_THAT(m_log, HasSubstr("in EPSG:4326 (WGS 84); they were projected to EPSG:32630 (WGS 84 "
                                 "/ UTM zone 30N), the UTM zone of the map's centre"));
    EXPECT_THAT(m_log, HasSubstr("2 ways run through 2 vertices shared with other pieces and were "
                                 "split there; 2 places where lines cross without a shared vertex "
                                 "(bridges, tunnels) are kept apart"));
    const std::vector<Feature> segments = Read(out, "segments");
    std::vector<std::int64_t> sources;
    for (const Feature& feature : segments)
        sources.push_back(feature.source);
    EXPECT_EQ(sources, (std::vector<std::int64_t>{10, 10, 11, 11, 12, 15}));
    EXPECT_EQ(CrsOf(out, "segments"), "EPSG:32630");
    EXPECT_EQ(CrsOf(out, "problems"), "EPSG:32630");
    // Metres now: the residential way's two pieces are about 70 m each.
    EXPECT_NEAR(std::hypot(segments[0].line.x2 - segments[0].line.x1,
                           segments[0].line.y2 - segments[0].line.y1),
                69.4, 0.5);

    ASSERT_EQ(Run({osm.string(), "--out", out.string(), "--highways", "residential"}), "");
    EXPECT_THAT(m_log, HasSubstr("read 2 ways of the highway classes \"residential\""));
    EXPECT_EQ(Read(out, "segments").size(), 4u);
    ASSERT_EQ(Run({osm.string(), "--out", out.string(), "--highways=all"}), "");
    EXPECT_THAT(m_log, HasSubstr("read 5 ways with a highway tag"));
    ASSERT_EQ(Run({osm.string(), "--out", out.string(), "--to-crs", "EPSG:27700"}), "");
    EXPECT_THAT(m_log, HasSubstr("projected from EPSG:4326 (WGS 84) to EPSG:27700"));
    EXPECT_EQ(CrsOf(out, "segments"), "EPSG:27700");
}

TEST_F(PrepareCommand, ARoundaboutOfManyShortPiecesBecomesASegmentBetweenEachTwoEntries) {
    std::vector<Node> nodes;
    std::vector<long long> ring;
    constexpr int kRingNodes = 120;
    const double latRadius = 40 / 111320.0, lonRadius = 40 / (111320.0 * std::cos(0.8988));
    for (int at = 0; at < kRingNodes; ++at) {
        const double angle = 2 * std::acos(-1.0) * at / kRingNodes;
        nodes.push_back(
            {at + 1, 51.5 + latRadius * std::sin(angle), -0.1 + lonRadius * std::cos(angle)});
        ring.push_back(at + 1);
    }
    ring.push_back(1);
    std::vector<OsmWay> ways = {{100, ring, {{"highway", "primary"}, {"junction", "roundabout"}}}};
    for (int arm = 0; arm < 4; ++arm) {
        const Node& entry = nodes[arm * kRingNodes / 4];
        const double angle = std::acos(-1.0) / 2 * arm;
        nodes.push_back({1000 + arm, entry.lat + 3 * latRadius * std::sin(angle),
                         entry.lon + 3 * lonRadius * std::cos(angle)});
        ways.push_back({200 + arm, {entry.id, 1000 + arm}, Highway("secondary")});
    }
    const fs::path out = m_folder / "roundabout.gpkg";
    ASSERT_EQ(Run({Write("roundabout.osm", OsmXml(nodes, ways)).string(), "--out", out.string()}),
              "");
    EXPECT_THAT(m_log, HasSubstr("120 pieces through vertices of two pieces turning by less than "
                                 "5 degrees became 4 segments"));
    const std::vector<Feature> segments = Read(out, "segments");
    ASSERT_EQ(segments.size(), 8u);
    EXPECT_EQ(segments[0].source, 100);
}

TEST_F(PrepareCommand, ARoadDrawnTwiceIsDrawnOnceAndEndsACentimetreApartAreJoined) {
    const fs::path osm =
        Write("twice.osm",
              OsmXml({{1, 51.5, -0.1},
                      {2, 51.5, -0.099},
                      {3, 51.5, -0.098},
                      // Two carriageways 15 m apart stay two.
                      {4, 51.501, -0.1},
                      {5, 51.501, -0.098},
                      {6, 51.50113, -0.1},
                      {7, 51.50113, -0.098},
                      // An end 1.1 cm from node 3, and an end 3 cm from the first road's middle.
                      {8, 51.5000001, -0.098},
                      {9, 51.4995, -0.098},
                      {10, 51.4997, -0.0995},
                      {11, 51.4999997, -0.0995}},
                     {{20, {1, 2, 3}, {{"highway", "primary"}, {"oneway", "yes"}}},
                      {21, {3, 2, 1}, {{"highway", "primary"}, {"oneway", "yes"}}},
                      {22, {4, 5}, Highway("trunk")},
                      {23, {7, 6}, Highway("trunk")},
                      {24, {8, 9}, Highway("residential")},
                      {25, {10, 11}, Highway("residential")}}));
    const fs::path out = m_folder / "twice.gpkg";
    ASSERT_EQ(Run({osm.string(), "--out", out.string()}), "");
    EXPECT_THAT(m_log, HasSubstr("dropped 0 pieces of zero length and 2 exact duplicates"));
    EXPECT_THAT(m_log, HasSubstr("--snap 0.1 m: joined 1 unconnected end to end points and 1 to "
                                 "lines, splitting them"));
    // The road in two halves at the street joined to it, the carriageways, the two streets.
    EXPECT_EQ(Read(out, "segments").size(), 6u);
    const std::map<std::string, int> problems = Problems(out);
    EXPECT_EQ(problems.at("duplicate/fixed"), 2);
    EXPECT_EQ(problems.at("unconnected end near another line/fixed"), 2);
    EXPECT_EQ(problems.at("small separate group/check"), 2);

    // Without snapping the gaps stay, and are reported at each end near another line.
    ASSERT_EQ(Run({osm.string(), "--out", out.string(), "--skip", "snap,simplify"}), "");
    EXPECT_EQ(Problems(out).at("unconnected end near another line/check"), 3);
}

TEST_F(PrepareCommand, APreparedLayerPreparedAgainIsTheSameAndItsStylesGoWithIt) {
    // A national-grid layer of messy lines, made with GDAL.
    const fs::path raw = m_folder / "raw.gpkg";
    {
        GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
        GDALDatasetUniquePtr dataset(driver->Create(raw.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        OGRSpatialReference crs;
        crs.importFromEPSG(27700);
        crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        OGRLayer* layer = dataset->CreateLayer("roads", &crs, wkbLineString, nullptr);
        for (const char* wkt : {"LINESTRING (530000 180000, 530050 180000.5, 530100 180000)",
                                "LINESTRING (530050 179950, 530050 180000.3, 530050 180050)",
                                "LINESTRING (530100 180000, 530000 180000)",
                                "LINESTRING (530100.04 180000, 530100 180060)",
                                "LINESTRING (530020 179990, 530020 179990)"}) {
            OGRFeature feature(layer->GetLayerDefn());
            OGRGeometry* geometry = nullptr;
            OGRGeometryFactory::createFromWkt(wkt, nullptr, &geometry);
            feature.SetGeometryDirectly(geometry);
            EXPECT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
        }
    }
    const fs::path once = m_folder / "once.gpkg";
    ASSERT_EQ(Run({raw.string(), "--out", once.string()}), "");
    EXPECT_EQ(CrsOf(once, "segments"), "EPSG:27700");
    EXPECT_THAT(m_log, Not(HasSubstr("projected")));
    const std::vector<Feature> first = Read(once, "segments");
    ASSERT_FALSE(first.empty());

    const fs::path twice = m_folder / "twice.gpkg";
    ASSERT_EQ(Run({once.string(), "--layer", "segments", "--out", twice.string()}), "");
    EXPECT_THAT(m_log, HasSubstr("dropped 0 pieces of zero length and 0 exact duplicates"));
    EXPECT_THAT(m_log, HasSubstr("joined 0 unconnected ends to end points and 0 to lines"));
    EXPECT_THAT(m_log, HasSubstr(": 0 pieces through vertices"));
    const std::vector<Feature> second = Read(twice, "segments");
    ASSERT_EQ(second.size(), first.size());
    for (std::size_t at = 0; at < first.size(); ++at) {
        EXPECT_EQ(second[at].line, first[at].line);
        EXPECT_EQ(second[at].source, static_cast<std::int64_t>(at + 1));
    }

    // The styles QGIS applies: segments in one colour, problems by type.
    const GDALDatasetUniquePtr dataset(GDALDataset::Open(once.c_str(), GDAL_OF_VECTOR));
    std::map<std::string, std::string> styles;
    for (const auto& row : *dataset->GetLayerByName("layer_styles"))
        styles[row->GetFieldAsString("f_table_name")] = row->GetFieldAsString("styleQML");
    ASSERT_EQ(styles.size(), 3u);
    EXPECT_THAT(styles["segments"], HasSubstr("type=\"singleSymbol\""));
    for (const char* layer : {"problems", "problem_lines"}) {
        EXPECT_THAT(styles[layer], HasSubstr("type=\"categorizedSymbol\" attr=\"type\""));
        EXPECT_THAT(styles[layer], HasSubstr("value=\"unconnected end near another line\""));
        EXPECT_THAT(styles[layer], HasSubstr("value=\"self-crossing\""));
    }

    // A format of one layer a file: three files, each with its style.
    ASSERT_EQ(Run({raw.string(), "--out", (m_folder / "roads.shp").string()}), "");
    for (const char* name : {"roads_segments", "roads_problems", "roads_problem_lines"}) {
        EXPECT_TRUE(fs::exists(m_folder / (std::string(name) + ".shp"))) << name;
        EXPECT_TRUE(fs::exists(m_folder / (std::string(name) + ".qml"))) << name;
    }

    // An earlier output is replaced; the map being read, or a file of other layers, only with
    // --overwrite.
    ASSERT_EQ(Run({raw.string(), "--out", twice.string()}), "");
    EXPECT_THAT(Run({once.string(), "--layer", "segments", "--out", once.string()}),
                HasSubstr("it holds the lines this run reads; choose another name, or give "
                          "--overwrite to replace it"));
    fs::copy_file(raw, m_folder / "roads.gpkg");
    EXPECT_THAT(
        Run({once.string(), "--layer", "segments", "--out", (m_folder / "roads.gpkg").string()}),
        HasSubstr("it holds the layer \"roads\", which vantrel-cli did not write"));
    EXPECT_EQ(Run({once.string(), "--layer", "segments", "--out", once.string(), "--overwrite"}),
              "");
}

// Segments without their direction.
std::set<std::tuple<double, double, double, double>> SegmentSet(const std::vector<MapLine>& lines) {
    std::set<std::tuple<double, double, double, double>> set;
    for (const MapLine& line : lines)
        set.insert(std::min(std::tuple(line.x1, line.y1, line.x2, line.y2),
                            std::tuple(line.x2, line.y2, line.x1, line.y1)));
    return set;
}

TEST_F(PrepareCommand, TheSyntheticTownReadFromAGisLayerPreparesToItsCleanDrawing) {
    bench::TownPlan plan;
    plan.blocksAcross = plan.blocksDown = 5;
    const bench::Town town = bench::MakeTown(plan);
    const fs::path out = m_folder / "town.gpkg";
    ASSERT_EQ(Run({Write("town.csv", bench::TownWaysCsv(town)).string(), "--out", out.string()}),
              "");
    std::vector<MapLine> prepared;
    for (const Feature& feature : Read(out, "segments"))
        prepared.push_back(feature.line);
    EXPECT_EQ(SegmentSet(prepared), SegmentSet(town.clean));

    ASSERT_EQ(Run({Write("clean.csv", bench::CleanTownCsv(town)).string(), "--out", out.string()}),
              "");
    EXPECT_THAT(m_log, HasSubstr("dropped 0 pieces of zero length and 0 exact duplicates"));
    EXPECT_EQ(Read(out, "segments").size(), town.clean.size());
}

TEST_F(PrepareCommand, WrongCommandLinesAndMapsThatCannotBePreparedAreRefused) {
    const fs::path osm = Write("tiny.osm", OsmXml({{1, 51.5, -0.1}, {2, 51.5, -0.099}},
                                                  {{1, {1, 2}, Highway("residential")}}));
    const std::string out = (m_folder / "out.gpkg").string();
    EXPECT_EQ(Run({osm.string()}), "usage: prepare needs --out LAYERS");
    EXPECT_THAT(Run({osm.string(), "--out", (m_folder / "out").string()}),
                HasSubstr("usage: prepare writes GIS layers: --out needs a name ending in .gpkg"));
    EXPECT_THAT(Run({osm.string(), "--out", out, "--skip", "bridges"}),
                HasSubstr("\"bridges\" is no step"));
    EXPECT_THAT(Run({osm.string(), "--out", out, "--snap", "-1"}),
                HasSubstr("--snap needs a distance in metres of 0 or more, not \"-1\""));
    EXPECT_THAT(Run({osm.string(), "--out", out, "--highways", "foot way"}),
                HasSubstr("\"foot way\" is not a highway class"));
    EXPECT_THAT(Run({osm.string(), "--out", out, "--to-crs", "EPSG:4326"}),
                HasSubstr("--to-crs needs a projected coordinate reference system"));
    EXPECT_THAT(Run({osm.string(), "--out", out, "--min-group", "5"}),
                HasSubstr("--min-group 5 drops every group of the map"));
    EXPECT_THAT(Run({osm.string(), "--out", out, "--highways", "motorway"}),
                HasSubstr("holds no lines where highway IN ('motorway')"));
    EXPECT_FALSE(fs::exists(out));

    const fs::path csv = Write("lines.csv", "x1,y1,x2,y2\n1000,0,1010,0\n1010,0,1010,10\n");
    EXPECT_THAT(Run({csv.string(), "--out", out, "--highways", "primary"}),
                HasSubstr("--highways filters OpenStreetMap files (.osm, .pbf) only"));
    ASSERT_EQ(Run({csv.string(), "--out", out}), "");
    EXPECT_THAT(m_log, HasSubstr("the map has no coordinate reference system: its units are "
                                 "taken for metres"));
    EXPECT_EQ(CrsOf(out, "segments"), "undefined Cartesian");
    EXPECT_EQ(CrsOf(out, "problems"), "undefined Cartesian");
    const fs::path degrees = Write("degrees.csv", "x1,y1,x2,y2\n-0.1,51.5,-0.099,51.5\n");
    ASSERT_EQ(Run({degrees.string(), "--out", out}), "");
    EXPECT_THAT(m_log, HasSubstr("its coordinates would fit degrees of longitude and latitude; "
                                 "they are taken for metres"));
    EXPECT_THAT(Run({csv.string(), "--out", out, "--to-crs", "EPSG:27700"}),
                HasSubstr("the map has no coordinate reference system, so it cannot be projected"));
}

} // namespace
} // namespace vantrel::cli

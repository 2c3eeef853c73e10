// The segment command of the batch tool: its command line, its help, and its runs to a folder
// and to GIS files.
#include "../../bench/synthetic_town.h"
#include "cli/segment_run.h"
#include "core/segment/segment_building.h"
#include "core/segment/segment_columns.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>

namespace vantrel::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const fs::path kCases = fs::path(VANTREL_TEST_DATA) / "reference" / "segment";

ParsedSegmentArguments Parse(std::vector<std::string_view> words) {
    return ParseSegmentArguments(words, 2);
}

TEST(SegmentArguments, ReadEveryOption) {
    const auto parsed = Parse({"map.gpkg",
                               "--out=out.gpkg",
                               "--rcl",
                               "--tolerance",
                               "0.5",
                               "--analysis",
                               "metric",
                               "--tulip-bins",
                               "0",
                               "--radius",
                               "400,n,1200.5",
                               "--radius-type",
                               "metric",
                               "--choice",
                               "--layer",
                               "roads",
                               "--threads",
                               "3",
                               "--overwrite",
                               "--quiet",
                               "--timings"});
    ASSERT_EQ(parsed.error, "");
    const SegmentOptions& options = parsed.options;
    EXPECT_EQ(options.mapFile, "map.gpkg");
    EXPECT_EQ(options.output, "out.gpkg");
    EXPECT_TRUE(options.roadCentreLines && options.analysis.choice && options.overwrite &&
                options.quiet && options.timings);
    EXPECT_EQ(options.tolerance, 0.5);
    EXPECT_EQ(options.layer, "roads");
    EXPECT_EQ(options.analysis.depth, segment::DepthKind::Metric);
    EXPECT_EQ(options.analysis.tulipBins, 0);
    EXPECT_EQ(options.analysis.threads, 3);
    EXPECT_EQ(options.analysis.radii, (std::vector<double>{400, segment::kRadiusN, 1200.5}));

    const auto defaults = Parse({"map.csv", "--out", "folder", "--stub-removal", "40"});
    ASSERT_EQ(defaults.error, "");
    EXPECT_EQ(defaults.options.stubPercent, 40);
    EXPECT_EQ(defaults.options.analysis.depth, segment::DepthKind::Angular);
    EXPECT_EQ(defaults.options.analysis.tulipBins, 1024);
    EXPECT_EQ(defaults.options.analysis.radiusKind, segment::RadiusKind::Metric);
    EXPECT_EQ(defaults.options.analysis.radii, std::vector<double>{segment::kRadiusN});
    EXPECT_EQ(defaults.options.analysis.threads, 2);
    EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(SegmentArguments, RefuseWhatCannotBeRunSayingWhy) {
    const std::pair<std::vector<std::string_view>, const char*> faults[] = {
        {{"--out", "x"}, "segment needs a map file"},
        {{"map.csv"}, "segment needs --out"},
        {{"a.csv", "b.csv", "--out", "x"}, "\"b.csv\" is a second"},
        {{"a.csv", "--out", "x", "--bins", "8"}, "unknown option \"--bins\""},
        {{"a.csv", "--out", "x", "--tulip-bins", "2"}, "--tulip-bins needs 0 or a whole number"},
        {{"a.csv", "--out", "x", "--radius", "400,-1"}, "\"-1\" is not a radius"},
        {{"a.csv", "--out", "x", "--radius", "n,400,n"}, "repeats a radius"},
        {{"a.csv", "--out", "x", "--radius", "2.5", "--radius-type", "steps"},
         "not a radius in steps"},
        {{"a.csv", "--out", "x", "--radius-type", "bends"},
         "--radius-type needs metric, angular or steps, not \"bends\""},
        {{"a.csv", "--out", "x", "--analysis", "axial"},
         "--analysis needs angular, metric or topological"},
        {{"a.csv", "--out", "x", "--stub-removal", "60"}, "percentage from 0 to 50"},
        {{"a.csv", "--out", "x", "--rcl", "--stub-removal", "10"}, "--stub-removal drops"},
        {{"a.csv", "--out", "x", "--rcl", "--analysis", "topological"}, "do not have"},
        {{"a.csv", "--out", "x", "--analysis", "topological", "--radius-type", "angular"},
         "does not rank routes by"},
        {{"a.csv", "--out", "x", "--choice=yes"}, "takes no value"},
        {{"a.csv", "--out", "x", "--threads", "0"}, "--threads needs a whole number"}};
    for (const auto& [words, fault] : faults)
        EXPECT_THAT(Parse(words).error, HasSubstr(fault)) << fault;
}

// Every column a run can write is explained in --help, each at the start of a line.
TEST(SegmentHelp, DefinesEveryColumn) {
    const std::string help = SegmentHelpText(4);
    EXPECT_THAT(help, HasSubstr("(here 4)"));
    const std::vector<MapLine> lines = {{0, 0, 10, 0}};
    const segment::SegmentMap map = segment::SegmentsFromAxialLines(lines, {}, 0);
    const auto results =
        segment::AnalyseSegments(map, {.radii = {segment::kRadiusN, 400}, .choice = true});
    const std::vector<std::int64_t> features = {7};
    const auto columns = segment::SegmentColumns(
        {.map = map, .radii = results, .sourceFeatureIds = features, .coordinates = true});
    for (const exports::MeasureColumn& column : columns) {
        std::string name = column.name;
        if (name.ends_with("_r400"))
            name.resize(name.size() - 5);
        if (name == "x1" || name == "y1" || name == "x2" || name == "y2")
            name = "x1, y1, x2, y2";
        EXPECT_THAT(help, HasSubstr("\n  " + name + " ")) << column.name;
    }
}

class SegmentRun : public ::testing::Test {
protected:
    void SetUp() override {
        GDALAllRegister();
        m_folder = fs::temp_directory_path() / ("vantrel_segment_" + std::to_string(::getpid()) +
                                                "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Run(const std::string& map, const fs::path& out,
                    std::vector<std::string_view> extra = {}) {
        return RunOn(kCases / map, out, std::move(extra));
    }
    std::string RunOn(const fs::path& map, const fs::path& out,
                      std::vector<std::string_view> extra = {}) {
        const std::string mapPath = map.string();
        const std::string outPath = (m_folder / out).string();
        std::vector<std::string_view> words = {mapPath, "--out", outPath};
        words.insert(words.end(), extra.begin(), extra.end());
        const ParsedSegmentArguments parsed = ParseSegmentArguments(words, 1);
        EXPECT_EQ(parsed.error, "");
        std::ostringstream logText;
        StageLog log(logText, {false, false, false});
        const auto fault = RunSegmentAnalysis(parsed.options, log);
        m_log = logText.str();
        return fault.value_or("");
    }

    fs::path m_folder;
    std::string m_log;
};

TEST_F(SegmentRun, WritesTheMeasuresOfEverySegmentToAFolder) {
    ASSERT_EQ(Run("seg_comb.input.csv", "out", {"--choice", "--radius", "15,n"}), "");
    std::ifstream in(m_folder / "out" / std::string(kSegmentMeasuresFile), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_THAT(text, HasSubstr("\"number\",\"x1\",\"y1\",\"x2\",\"y2\",\"axial_line\","
                                "\"segment_length\",\"connectivity\",\"angular_connectivity\","
                                "\"node_count_r15\",\"total_depth_r15\""));
    // Within 15 of its middle, an end of the comb reaches the middle piece and the two arms
    // of its crossing; the middle piece reaches all 7 at depths 0, 0, 0 and 1 four times, and
    // carries the 18 routes between the comb's two sides at radius n.
    EXPECT_THAT(text, HasSubstr("\r\n1,0,0,10,0,1,10,3,2,4,2,0.6666666666666666,8,"));
    EXPECT_THAT(text, HasSubstr("\r\n2,10,0,20,0,1,10,6,4,7,4,0.6666666666666666,12.25,"));
    EXPECT_THAT(text, HasSubstr(",7,4,0.6666666666666666,12.25,1.721735355193644,50,18,"));
    EXPECT_THAT(m_log, HasSubstr("7 segments from 3 lines"));
}

TEST_F(SegmentRun, WritesAStyledSegmentsLayerAndNotesSegmentsThatMeetNothing) {
    ASSERT_EQ(Run("rcl_mixed.input.csv", "roads.gpkg", {"--rcl", "--choice"}), "");
    EXPECT_THAT(m_log, HasSubstr("6 segments meet no other"));
    EXPECT_THAT(m_log, HasSubstr("the other segments form 2 separate groups, the largest of 4"));
    GDALDatasetUniquePtr dataset(
        GDALDataset::Open((m_folder / "roads.gpkg").c_str(), GDAL_OF_VECTOR));
    ASSERT_TRUE(dataset);
    OGRLayer* layer = dataset->GetLayerByName(kSegmentLayer);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetFeatureCount(), 12);
    // A map of no known system: GIS programs must not take its units for degrees.
    ASSERT_NE(layer->GetSpatialRef(), nullptr);
    EXPECT_TRUE(layer->GetSpatialRef()->IsLocal());
    OGRLayer* styles = dataset->GetLayerByName("layer_styles");
    ASSERT_NE(styles, nullptr);
    const std::unique_ptr<OGRFeature> style(styles->GetNextFeature());
    EXPECT_EQ(std::string(style->GetFieldAsString("f_table_name")), kSegmentLayer);
    // Segments that meet nothing have no nach, and are drawn in a grey class of their own.
    EXPECT_THAT(style->GetFieldAsString("styleQML"),
                HasSubstr("attr=\"coalesce(&quot;nach&quot;, -1)\""));

    // A format of one layer a file names it as the other result layers, its style beside it.
    ASSERT_EQ(Run("seg_T.input.csv", "tee.geojson"), "");
    EXPECT_TRUE(fs::exists(m_folder / "tee_segments.geojson"));
    std::ifstream qml(m_folder / "tee_segments.qml");
    const std::string text{std::istreambuf_iterator<char>(qml), std::istreambuf_iterator<char>()};
    EXPECT_THAT(text, HasSubstr("attr=\"nain\""));
}

std::vector<std::string> CsvFields(std::string line) {
    if (line.ends_with('\r'))
        line.pop_back();
    std::vector<std::string> fields;
    std::stringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');)
        fields.push_back(cell);
    return fields;
}

// Each segment's measures, by heading, keyed by its two end points (either way round); without
// its number, coordinates and source.
std::map<std::string, std::map<std::string, std::string>> MeasuresByEnds(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> headings = CsvFields(line);
    std::map<std::string, std::map<std::string, std::string>> rows;
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = CsvFields(line);
        const std::string from = fields[1] + " " + fields[2], to = fields[3] + " " + fields[4];
        std::map<std::string, std::string>& row =
            rows[std::min(from, to) + " " + std::max(from, to)];
        for (std::size_t field = 6; field < fields.size(); ++field)
            if (headings[field] != "\"source_fid\"")
                row[headings[field]] = fields[field];
    }
    return rows;
}

TEST_F(SegmentRun, APreparedTownHasTheMeasuresOfTheSameTownDrawnCleanly) {
    bench::TownPlan plan;
    plan.blocksAcross = plan.blocksDown = 4;
    const bench::Town town = bench::MakeTown(plan);
    std::ofstream(m_folder / "raw.csv") << bench::TownWaysCsv(town);
    std::ofstream(m_folder / "clean.csv") << bench::CleanTownCsv(town);
    const std::vector<std::string_view> options = {"--choice", "--radius", "40,n"};
    std::vector<std::string_view> prepared = options;
    prepared.push_back("--prepare");
    ASSERT_EQ(RunOn(m_folder / "raw.csv", "prepared", prepared), "");
    EXPECT_THAT(m_log, HasSubstr("Preparing streets"));
    std::vector<std::string_view> clean = options;
    clean.push_back("--rcl");
    ASSERT_EQ(RunOn(m_folder / "clean.csv", "clean", clean), "");

    const auto ours = MeasuresByEnds(m_folder / "prepared" / std::string(kSegmentMeasuresFile));
    const auto theirs = MeasuresByEnds(m_folder / "clean" / std::string(kSegmentMeasuresFile));
    ASSERT_EQ(ours.size(), town.clean.size());
    ASSERT_EQ(ours.size(), theirs.size());
    for (const auto& [ends, values] : theirs) {
        ASSERT_TRUE(ours.contains(ends)) << ends;
        for (const auto& [heading, value] : values) {
            const std::string& mine = ours.at(ends).at(heading);
            if (value.empty() || mine.empty())
                EXPECT_EQ(mine, value) << ends << " " << heading;
            else
                EXPECT_NEAR(std::stod(mine), std::stod(value), 1e-9 * std::abs(std::stod(value)))
                    << ends << " " << heading;
        }
    }
}

TEST_F(SegmentRun, AMalformedMapLeavesTheOutputAsItWas) {
    fs::create_directories(m_folder / "out");
    std::ofstream(m_folder / "out" / "segment_measures.csv") << "before";
    std::ofstream(m_folder / "bad.csv") << "x1,y1,x2,y2\n0,0,1\n";
    const std::string mapPath = (m_folder / "bad.csv").string();
    const std::string outPath = (m_folder / "out").string();
    const std::vector<std::string_view> words = {mapPath, "--out", outPath};
    std::ostringstream logText;
    StageLog log(logText, {true, false, false});
    const auto fault = RunSegmentAnalysis(ParseSegmentArguments(words, 1).options, log);
    ASSERT_TRUE(fault);
    EXPECT_THAT(*fault, HasSubstr("bad.csv"));
    std::ifstream kept(m_folder / "out" / "segment_measures.csv");
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "before");
}

} // namespace
} // namespace vantrel::cli

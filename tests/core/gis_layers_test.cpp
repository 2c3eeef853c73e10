// GIS layers in and out: layers built with GDAL itself, read by the batch tool, and its results
// read back through GDAL.
#include "cli/analysis_run.h"
#include "cli/layer_output.h"
#include "gis/layer_reader.h"
#include "gis/result_files.h"

#include <gdal_priv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Every rename of this test program passes through here. Armed with a folder, the process kills
// itself just before its second rename of a file into that folder, as a kill from outside could.
std::string& RenameTrapFolder() {
    static std::string folder;
    return folder;
}

void KillBeforeSecondPlacement(int folder, const char* to) {
    static int placed = 0;
    if (RenameTrapFolder().empty())
        return;
    std::filesystem::path path = to;
    if (folder != AT_FDCWD && path.is_relative()) {
        char link[4096];
        const std::string self = "/proc/self/fd/" + std::to_string(folder);
        const ssize_t length = ::readlink(self.c_str(), link, sizeof link);
        path = std::filesystem::path(std::string(link, length > 0 ? length : 0)) / path;
    }
    if (path.parent_path() == RenameTrapFolder() && !path.filename().string().starts_with('.') &&
        ++placed == 2)
        ::raise(SIGKILL);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    KillBeforeSecondPlacement(AT_FDCWD, to);
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, 0));
}

extern "C" int renameat(int fromFolder, const char* from, int toFolder, const char* to) noexcept {
    KillBeforeSecondPlacement(toFolder, to);
    return static_cast<int>(::syscall(SYS_renameat2, fromFolder, from, toFolder, to, 0));
}

namespace vantrel::gis {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct Feature {
    const char* wkt; // nullptr for a feature without geometry
};

class GisLayers : public ::testing::Test {
protected:
    void SetUp() override {
        GDALAllRegister();
        m_folder = fs::temp_directory_path() / ("vantrel_gis_" + std::to_string(::getpid()) + "_" +
                                                std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // A dataset of one or more layers of the given features, made by GDAL's own driver.
    fs::path Make(const std::string& name, const char* driver,
                  const std::vector<std::pair<std::string, std::vector<Feature>>>& layers,
                  int epsg = 27700, OGRwkbGeometryType type = wkbUnknown) const {
        const fs::path path = m_folder / name;
        GDALDriver* maker = GetGDALDriverManager()->GetDriverByName(driver);
        EXPECT_NE(maker, nullptr) << driver;
        GDALDatasetUniquePtr dataset(maker->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        EXPECT_NE(dataset, nullptr) << path;
        OGRSpatialReference crs;
        if (epsg > 0)
            crs.importFromEPSG(epsg);
        crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        for (const auto& [layerName, features] : layers) {
            OGRLayer* layer =
                dataset->CreateLayer(layerName.c_str(), epsg > 0 ? &crs : nullptr, type, nullptr);
            EXPECT_NE(layer, nullptr);
            for (const Feature& each : features) {
                OGRFeature feature(layer->GetLayerDefn());
                if (each.wkt) {
                    OGRGeometry* geometry = nullptr;
                    OGRGeometryFactory::createFromWkt(each.wkt, nullptr, &geometry);
                    feature.SetGeometryDirectly(geometry);
                }
                EXPECT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
            }
        }
        return path;
    }

    std::string Run(cli::AnalyseOptions options) {
        options.quiet = false;
        std::ostringstream logText;
        cli::StageLog log(logText, {false, false, false});
        const auto fault = cli::RunAnalysis(options, log);
        m_log = logText.str();
        return fault.value_or("");
    }

    cli::AnalyseOptions Options(const fs::path& lines, const fs::path& out) const {
        cli::AnalyseOptions options;
        options.linesFile = lines;
        options.outputFolder = m_folder / out;
        return options;
    }

    // Every file of a folder whose name begins with `prefix`, and its text.
    static std::map<std::string, std::string> Files(const fs::path& folder,
                                                    const std::string& prefix = "") {
        std::map<std::string, std::string> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name.starts_with(prefix)) {
                std::ifstream in(entry.path(), std::ios::binary);
                files[name] = std::string(std::istreambuf_iterator<char>(in), {});
            }
        }
        return files;
    }

    fs::path m_folder;
    std::string m_log;
};

const std::vector<Feature> kCross = {{"LINESTRING (0 0, 10 0)"}, {"LINESTRING (5 -5, 5 5)"}};

TEST_F(GisLayers, EveryFormatGivesItsLinesWithTheirFeatureIdsAndCrs) {
    for (const auto& [name, driver] :
         std::vector<std::pair<std::string, const char*>>{{"map.gpkg", "GPKG"},
                                                          {"map.shp", "ESRI Shapefile"},
                                                          {"map.geojson", "GeoJSON"},
                                                          {"map.dxf", "DXF"}}) {
        const LayerReading read = ReadLayerLines(Make(name, driver, {{"streets", kCross}}), "");
        ASSERT_TRUE(read.layer) << name << ": " << read.error;
        EXPECT_EQ(read.layer->lines, (std::vector<MapLine>{{0, 0, 10, 0}, {5, -5, 5, 5}})) << name;
        EXPECT_EQ(read.layer->featureIds.size(), 2u);
        EXPECT_NE(read.layer->featureIds[0], read.layer->featureIds[1]);
        if (std::string(driver) != "DXF") {
            EXPECT_EQ(read.layer->crsName, "EPSG:27700") << name;
            EXPECT_FALSE(read.layer->geographic);
        }
    }
    const LayerReading degrees =
        ReadLayerLines(Make("degrees.gpkg", "GPKG", {{"streets", kCross}}, 4326), "");
    ASSERT_TRUE(degrees.layer);
    EXPECT_TRUE(degrees.layer->geographic);
}

TEST_F(GisLayers, PiecesAreSplitAndFeaturesWithoutLinesSkipped) {
    const fs::path map = Make("mixed.gpkg", "GPKG",
                              {{"mixed",
                                {{"MULTILINESTRING ((0 0, 10 0), (0 5, 10 5))"},
                                 {"LINESTRING Z (5 -5 1, 5 5 2, 8 9 3)"},
                                 {"POINT (1 1)"},
                                 {"POLYGON ((0 0, 1 0, 1 1, 0 0))"},
                                 {nullptr}}}});
    const LayerReading read = ReadLayerLines(map, "");
    ASSERT_TRUE(read.layer) << read.error;
    EXPECT_EQ(read.layer->lines.size(), 4u);
    EXPECT_EQ(read.layer->lines[3], (MapLine{5, 5, 8, 9}));
    EXPECT_EQ(read.layer->splitFeatures, 2);
    EXPECT_EQ(read.layer->linesFromSplits, 4);
    EXPECT_EQ(read.layer->skippedFeatures, 3);

    ASSERT_EQ(Run(Options(map, "out")), "");
    EXPECT_THAT(m_log, HasSubstr("2 features of several straight pieces were split into 4 lines"));
    EXPECT_THAT(m_log, HasSubstr("3 features were skipped, holding no line"));
}

TEST_F(GisLayers, LayersWithoutLinesMissingOrAmbiguousAreRefusedNamingFileAndLayer) {
    const fs::path polygons =
        Make("polygons.gpkg", "GPKG", {{"blocks", {{"POLYGON ((0 0, 1 0, 1 1, 0 0))"}}}});
    const fs::path points = Make("points.gpkg", "GPKG", {{"trees", {{"POINT (1 1)"}}}});
    const fs::path two = Make("two.gpkg", "GPKG", {{"roads", kCross}, {"paths", kCross}});
    EXPECT_THAT(ReadLayerLines(polygons, "").error, HasSubstr("holds no layer of lines"));
    EXPECT_THAT(ReadLayerLines(points, "trees").error,
                HasSubstr("The layer \"trees\" of \"" + points.string() + "\" holds no lines"));
    EXPECT_THAT(
        ReadLayerLines(two, "").error,
        HasSubstr("holds 2 layers of lines, \"roads\", \"paths\"; choose one with --layer"));
    EXPECT_THAT(ReadLayerLines(two, "lanes").error,
                HasSubstr("has no layer \"lanes\"; its layers are \"roads\", \"paths\""));
    ASSERT_TRUE(ReadLayerLines(two, "paths").layer);
    // A layer of lines without features is no choice, as in an OpenStreetMap file of no routes.
    EXPECT_TRUE(ReadLayerLines(Make("one_full.gpkg", "GPKG", {{"roads", kCross}, {"routes", {}}},
                                    27700, wkbLineString),
                               "")
                    .layer);

    std::ofstream(m_folder / "junk.gpkg") << "not a dataset";
    EXPECT_THAT(Run(Options(m_folder / "junk.gpkg", "out.gpkg")), HasSubstr("Could not read"));
    EXPECT_FALSE(fs::exists(m_folder / "out.gpkg"));
}

TEST_F(GisLayers, ResultsGoBackAsStyledLayersInTheInputCrs) {
    const fs::path map = Make("streets.gpkg", "GPKG", {{"streets", kCross}});
    cli::AnalyseOptions options = Options(map, "results.gpkg");
    options.radii = {{3}};
    ASSERT_EQ(Run(options), "");
    const GDALDatasetUniquePtr results(
        GDALDataset::Open((m_folder / "results.gpkg").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    ASSERT_NE(results, nullptr);
    OGRLayer* lines = results->GetLayerByName("axial_lines");
    OGRLayer* junctions = results->GetLayerByName("junctions");
    ASSERT_TRUE(lines && junctions);
    EXPECT_EQ(lines->GetFeatureCount(), 2);
    EXPECT_EQ(junctions->GetFeatureCount(), 1);
    EXPECT_TRUE(lines->GetSpatialRef()->GetAuthorityCode(nullptr) == std::string("27700"));
    for (const char* field : {"source_fid", "integration", "integration_hh_r3", "line_length"})
        EXPECT_GE(lines->GetLayerDefn()->GetFieldIndex(field), 0) << field;
    const auto junction = std::unique_ptr<OGRFeature>(junctions->GetNextFeature());
    EXPECT_EQ(junction->GetFieldAsInteger64("first_line"), 1);
    EXPECT_EQ(junction->GetFieldAsInteger64("second_line"), 2);
    EXPECT_EQ(junction->GetGeometryRef()->toPoint()->getX(), 5);

    OGRLayer* styles = results->GetLayerByName("layer_styles");
    ASSERT_NE(styles, nullptr);
    EXPECT_EQ(styles->GetFeatureCount(), 2);
    const auto style = std::unique_ptr<OGRFeature>(styles->GetNextFeature());
    EXPECT_STREQ(style->GetFieldAsString("f_table_name"), "axial_lines");
    EXPECT_EQ(style->GetFieldAsInteger("useAsDefault"), 1);
    EXPECT_THAT(style->GetFieldAsString("styleQML"), HasSubstr("attr=\"integration\""));
    EXPECT_THAT(style->GetFieldAsString("styleQML"), HasSubstr("255,0,0,255"));

    // A Shapefile cuts field names to ten characters: its style follows the cut names, a note
    // says which is which, and the GeoJSON of the same name keeps a style of its own.
    ASSERT_EQ(Run(Options(map, "results.shp")), "");
    EXPECT_THAT(m_log, HasSubstr("a Shapefile keeps field names of at most ten characters, so "
                                 "in \"results_axial_lines_shp\" connectivity is connectivi, "));
    EXPECT_THAT(m_log, HasSubstr(", integration_hh is integrat_1, "));
    ASSERT_EQ(Run(Options(map, "results.geojson")), "");
    for (const char* file : {"results_axial_lines_shp.shp", "results_junctions_shp.dbf",
                             "results_axial_lines_shp.prj", "results_junctions_shp.qml"})
        EXPECT_TRUE(fs::exists(m_folder / file)) << file;
    for (const auto& [file, attribute] : {std::pair{"results_axial_lines.qml", "\"integration\""},
                                          {"results_axial_lines_shp.qml", "\"integratio\""}}) {
        std::ifstream qml(m_folder / file);
        EXPECT_THAT(std::string(std::istreambuf_iterator<char>(qml), {}),
                    HasSubstr(std::string("attr=") + attribute));
    }
}

TEST_F(GisLayers, ALayerGivesTheSameResultsAsTheCsvOfItsLines) {
    std::ofstream(m_folder / "streets.csv") << "x1,y1,x2,y2\n0,0,10,0\n5,-5,5,5\n0,8,10,-2\n";
    const fs::path map = Make("streets.gpkg", "GPKG",
                              {{"streets", {kCross[0], kCross[1], {"LINESTRING (0 8, 10 -2)"}}}});
    ASSERT_EQ(Run(Options(m_folder / "streets.csv", "from_csv")), "");
    cli::AnalyseOptions exact = Options(map, "from_layer");
    exact.tolerance = 0;
    ASSERT_EQ(Run(exact), "");
    for (const auto& file : cli::kOutputFiles) {
        std::ifstream csv(m_folder / "from_csv" / file), layer(m_folder / "from_layer" / file);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(csv), {}),
                  std::string(std::istreambuf_iterator<char>(layer), {}))
            << file;
    }
}

// A street grid cut at random into lines of 3 to 9 blocks, 24 across and 24 down, and far from it
// a pair of crossing lines that reach nothing else.
std::vector<std::string> GridWithSeparatePair() {
    std::mt19937 random(22);
    std::vector<std::string> wkts;
    for (int lane = 0; lane < 48; ++lane) {
        for (int from = static_cast<int>(random() % 3); from + 1 < 24;) {
            const int to = std::min(from + 2 + static_cast<int>(random() % 7), 23);
            const std::string at = std::to_string(lane % 24 * 100);
            const std::string a = std::to_string(from * 100), b = std::to_string(to * 100);
            wkts.push_back(lane < 24 ? "LINESTRING (" + a + " " + at + ", " + b + " " + at + ")"
                                     : "LINESTRING (" + at + " " + a + ", " + at + " " + b + ")");
            from = to + 1 + static_cast<int>(random() % 3);
        }
    }
    wkts.push_back("LINESTRING (9000 9000, 9100 9000)");
    wkts.push_back("LINESTRING (9050 8950, 9050 9050)");
    return wkts;
}

TEST_F(GisLayers, TheDefaultStyleSpreadsTheMainNetworkOverAllThirteenColours) {
    const std::vector<std::string> wkts = GridWithSeparatePair();
    std::vector<Feature> features;
    for (const std::string& wkt : wkts)
        features.push_back({wkt.c_str()});
    ASSERT_EQ(Run(Options(Make("grid.gpkg", "GPKG", {{"axial", features}}), "styled.gpkg")), "");
    EXPECT_THAT(m_log, HasSubstr("the lines fall into 2 separate groups, the largest of "));
    EXPECT_THAT(m_log, HasSubstr(" lines; integration is normalised over all of them together"));

    const GDALDatasetUniquePtr results(
        GDALDataset::Open((m_folder / "styled.gpkg").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    ASSERT_NE(results, nullptr);
    const std::string qml =
        OGRFeatureUniquePtr(results->GetLayerByName("layer_styles")->GetNextFeature())
            ->GetFieldAsString("styleQML");
    // Blue to red, then grey for the pair, which has no integration [HH].
    EXPECT_THAT(qml, HasSubstr("attr=\"coalesce(&quot;integration_hh&quot;, -1)\""));
    EXPECT_LT(qml.find("0,0,255,255"), qml.find("255,0,0,255"));
    EXPECT_LT(qml.find("255,0,0,255"), qml.find("160,160,160,255"));
    std::vector<double> uppers;
    const std::regex upper("upper=\"([^\"]+)\"");
    for (std::sregex_iterator it(qml.begin(), qml.end(), upper), end; it != end; ++it)
        uppers.push_back(std::stod((*it)[1]));
    ASSERT_EQ(uppers.size(), 14u);
    // As QGIS finds it, each line takes the first class whose upper bound is not below its value.
    std::set<std::ptrdiff_t> used;
    for (const auto& line : *results->GetLayerByName("axial_lines"))
        if (!line->IsFieldNull(line->GetFieldIndex("integration_hh")))
            used.insert(std::lower_bound(uppers.begin(), uppers.begin() + 13,
                                         line->GetFieldAsDouble("integration_hh")) -
                        uppers.begin());
    EXPECT_EQ(used.size(), 13u);
}

TEST_F(GisLayers, CurvesCollectionsAndZeroLengthLinesAreReadAndNoted) {
    const fs::path map =
        Make("curves.gpkg", "GPKG",
             {{"streets",
               {{"CIRCULARSTRING (0 0, 50 50, 100 0)"},
                {"COMPOUNDCURVE ((100 0, 100 -50), CIRCULARSTRING (100 -50, 150 -100, 200 -50))"},
                {"GEOMETRYCOLLECTION (POINT (1 1), LINESTRING (50 -20, 50 80))"},
                {"LINESTRING (50 50, 50 50)"}}}});
    const LayerReading read = ReadLayerLines(map, "");
    ASSERT_TRUE(read.layer) << read.error;
    EXPECT_EQ(read.layer->curvedFeatures, 2);
    EXPECT_EQ(read.layer->skippedFeatures, 0);
    EXPECT_GT(read.layer->lines.size(), 10u);
    EXPECT_THAT(read.layer->lines, ::testing::Contains(MapLine{50, -20, 50, 80}));

    ASSERT_EQ(Run(Options(map, "out")), "");
    EXPECT_THAT(m_log, HasSubstr("2 features with curves were read as the straight pieces GDAL "
                                 "approximates the curves with"));
    EXPECT_THAT(m_log, HasSubstr("1 line has zero length (its two ends are one point): it is "
                                 "kept as an axial line"));
}

TEST_F(GisLayers, ALayerWithoutASystemStaysInPlainUnitsAndOneInDegreesIsSaidSo) {
    std::ofstream(m_folder / "drawn.csv") << "WKT,id\n\"LINESTRING (0 0, 10 0)\",1\n";
    ASSERT_EQ(Run(Options(m_folder / "drawn.csv", "drawn.gpkg")), "");
    const GDALDatasetUniquePtr drawn(
        GDALDataset::Open((m_folder / "drawn.gpkg").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    EXPECT_TRUE(drawn->GetLayerByName("axial_lines")->GetSpatialRef()->IsLocal());
    // Neither GeoPackage's undefined Cartesian system nor its undefined geographic one (which a
    // layer made without a system gets) is taken for degrees.
    const fs::path undefined = Make("undefined.gpkg", "GPKG", {{"streets", kCross}}, 0);
    for (const fs::path& file : {m_folder / "drawn.gpkg", undefined}) {
        const LayerReading read = ReadLayerLines(file, file == undefined ? "" : "axial_lines");
        ASSERT_TRUE(read.layer) << read.error;
        EXPECT_FALSE(read.layer->geographic) << file;
        EXPECT_EQ(read.layer->crsWkt, "") << file;
    }

    const fs::path degrees = Make("degrees.gpkg", "GPKG", {{"streets", kCross}}, 4326);
    ASSERT_EQ(Run(Options(degrees, "in_degrees")), "");
    EXPECT_THAT(m_log, HasSubstr("in degrees (EPSG:4326): which lines cross or touch is decided"));
    EXPECT_THAT(m_log, ::testing::Not(HasSubstr("as good as in metres")));
    cli::AnalyseOptions tolerant = Options(degrees, "tolerant");
    tolerant.tolerance = 1;
    EXPECT_THAT(Run(tolerant), HasSubstr("--tolerance is a distance in the layer's units, and the "
                                         "layer \"streets\" of \"" +
                                         degrees.string() +
                                         "\" is in degrees (EPSG:4326); project it to metres "
                                         "first, for example with ogr2ogr -t_srs"));
}

// A run into the file it reads (or into another's) would lose what the run did not write.
TEST_F(GisLayers, AnOutputFileHoldingWhatARunDoesNotWriteIsReplacedOnlyWithOverwrite) {
    const fs::path town =
        Make("town.gpkg", "GPKG",
             {{"axial_map", kCross}, {"blocks", {{"POLYGON ((0 0, 1 0, 1 1, 0 0))"}}}});
    cli::AnalyseOptions options = Options(town, "town.gpkg");
    options.layer = "axial_map";
    EXPECT_THAT(Run(options), HasSubstr("Could not write \"" + town.string() +
                                        "\": it holds the lines this run reads; choose another "
                                        "name, or give --overwrite to replace it"));
    EXPECT_EQ(
        GDALDatasetUniquePtr(GDALDataset::Open(town.c_str(), GDAL_OF_VECTOR))->GetLayerCount(), 2);

    const fs::path roads = Make("roads.gpkg", "GPKG", {{"roads", kCross}});
    options.outputFolder = roads;
    EXPECT_THAT(Run(options), HasSubstr(": it holds the layer \"roads\", which vantrel-cli did "
                                        "not write; choose another name"));
    std::ofstream(m_folder / "notes.gpkg") << "my notes";
    options.outputFolder = m_folder / "notes.gpkg";
    EXPECT_THAT(Run(options), HasSubstr(": it holds something GDAL cannot read as a GPKG file"));
    // The files of a Shapefile that results of that name would replace.
    const fs::path lines = Make("streets_axial_lines_shp.shp", "ESRI Shapefile",
                                {{"streets_axial_lines_shp", kCross}});
    EXPECT_THAT(Run(Options(lines, "streets.shp")), HasSubstr("the lines this run reads"));
    EXPECT_EQ(ReadLayerLines(lines, "").layer->lines.size(), 2u);

    // Results of an earlier run are replaced, and anything with --overwrite.
    options.outputFolder = m_folder / "results.gpkg";
    ASSERT_EQ(Run(options), "");
    ASSERT_EQ(Run(options), "");
    options.outputFolder = town;
    options.overwrite = true;
    ASSERT_EQ(Run(options), "");
    EXPECT_EQ(
        GDALDatasetUniquePtr(GDALDataset::Open(town.c_str(), GDAL_OF_VECTOR))->GetLayerCount(), 3);
}

TEST_F(GisLayers, AResultCutShortBetweenTwoOfItsRenamesIsFinishedByTheNextRun) {
    const fs::path map = Make("streets.gpkg", "GPKG", {{"streets", kCross}});
    ASSERT_EQ(Run(Options(map, "town.shp")), "");
    std::ofstream(m_folder / "town_axial_lines_shp.qix") << "an index of the earlier lines";
    // Other lines, without measures and so without styles, replace the earlier results.
    const std::vector<MapLine> lines = {{0, 0, 20, 0}, {10, -5, 10, 5}, {15, -5, 15, 5}};
    const std::vector<MapJunction> junctions = {{1, 2, 10, 0}, {1, 3, 15, 0}};
    const fs::path target = m_folder / "town.shp";
    cli::LayerOutput output(target, AnalysisLayerNames(target), false, cli::InputFiles({}));
    ASSERT_EQ(output.prepare(), std::nullopt);
    ASSERT_EQ(output.write({.lines = lines, .junctions = junctions}), std::nullopt);
    const auto written =
        Files(m_folder / (".town.shp.vantrel-" + std::to_string(::getpid()) + ".partial"));
    const pid_t child = ::fork();
    if (child == 0) {
        RenameTrapFolder() = m_folder.string();
        output.commit();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_NE(Files(m_folder, "town_"), written);

    cli::LayerOutput next(target, AnalysisLayerNames(target), false, cli::InputFiles({}));
    ASSERT_EQ(next.prepare(), std::nullopt);
    next.discard();
    EXPECT_EQ(Files(m_folder, "town_"), written);
    EXPECT_TRUE(Files(m_folder, ".town.shp").empty());
}

TEST_F(GisLayers, DamagedFeaturesAreSkippedAndNamedByTheirIds) {
    const fs::path map =
        Make("damaged.gpkg", "GPKG",
             {{"streets",
               {kCross[0], kCross[1], {"LINESTRING (8 -5, 8 5)"}, {"LINESTRING (0 3, 10 3)"}}}});
    {
        const GDALDatasetUniquePtr dataset(
            GDALDataset::Open(map.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE));
        // After the header and envelope (40 bytes), the byte order and type: the point count.
        dataset->ExecuteSQL("UPDATE streets SET geom = CAST(substr(geom, 1, 45) || X'FFFFFF7F' || "
                            "substr(geom, 50) AS BLOB) WHERE fid = 2",
                            nullptr, nullptr);
        dataset->ExecuteSQL("UPDATE streets SET geom = substr(geom, 1, 60) WHERE fid = 3", nullptr,
                            nullptr);
    }
    const LayerReading read = ReadLayerLines(map, "");
    ASSERT_TRUE(read.layer) << read.error;
    EXPECT_EQ(read.layer->damagedFeatures, (std::vector<std::int64_t>{2, 3}));
    EXPECT_EQ(read.layer->lines.size(), 2u);
    EXPECT_EQ(read.layer->skippedFeatures, 0);
    ASSERT_EQ(Run(Options(map, "out")), "");
    EXPECT_THAT(m_log, HasSubstr("2 features are damaged and were skipped (GDAL cannot read their "
                                 "geometry): feature ids 2, 3\n"));

    // A Shapefile record that claims 2^31-1 parts.
    const fs::path parts = Make("parts.shp", "ESRI Shapefile", {{"parts", kCross}});
    {
        std::fstream file(parts, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(100 + 8 + 4 + 32);
        file.write("\xff\xff\xff\x7f", 4);
    }
    EXPECT_EQ(ReadLayerLines(parts, "").layer->damagedFeatures, (std::vector<std::int64_t>{0}));
}

TEST_F(GisLayers, AFullDiskIsReportedWithTheFileTheUserAskedFor) {
    const fs::path map = Make("streets.gpkg", "GPKG", {{"streets", kCross}});
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const std::string fault = Run(Options(map, "town.geojson"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_THAT(fault, ::testing::StartsWith("Could not write \"" +
                                             (m_folder / "town.geojson").string() + "\": "));
    EXPECT_THAT(fault, ::testing::Not(HasSubstr(".vantrel-")));
    EXPECT_FALSE(fs::exists(m_folder / "town_axial_lines.geojson"));
}

} // namespace
} // namespace vantrel::gis

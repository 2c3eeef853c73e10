// vantrel-cli vga: its command line, the walls it reads, and the files it writes.
#include "cli/vga_command.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace vantrel::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class VgaCommand : public ::testing::Test {
protected:
    void SetUp() override {
        GDALAllRegister();
        m_folder = fs::temp_directory_path() / ("vantrel_vga_" + std::to_string(::getpid()) + "_" +
                                                std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Run(const std::vector<std::string>& words) {
        const std::vector<std::string_view> views(words.begin(), words.end());
        const ParsedVgaArguments parsed = ParseVgaArguments(views, 2);
        if (!parsed.error.empty())
            return "usage: " + parsed.error;
        std::ostringstream logText;
        StageLog log(logText, {false, false, false});
        const auto fault = RunVgaCommand(parsed.options, log);
        m_log = logText.str();
        return fault.value_or("");
    }

    std::string Read(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // A grey picture, row 0 at the top, through GDAL's own PNG driver.
    fs::path Picture(const std::string& name, const std::vector<std::string>& rows) const {
        const int width = static_cast<int>(rows.front().size());
        const int height = static_cast<int>(rows.size());
        GDALDatasetUniquePtr memory(GetGDALDriverManager()->GetDriverByName("MEM")->Create(
            "", width, height, 1, GDT_Byte, nullptr));
        std::vector<std::uint8_t> values;
        for (const std::string& row : rows)
            for (const char pixel : row)
                values.push_back(pixel == '#' ? 20 : 235);
        EXPECT_EQ(memory->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, width, height, values.data(),
                                                     width, height, GDT_Byte, 0, 0),
                  CE_None);
        const fs::path path = m_folder / name;
        GDALDatasetUniquePtr png(GetGDALDriverManager()->GetDriverByName("PNG")->CreateCopy(
            path.c_str(), memory.get(), false, nullptr, nullptr, nullptr));
        EXPECT_NE(png, nullptr);
        return path;
    }

    fs::path m_folder;
    std::string m_log;
};

TEST_F(VgaCommand, TheCommandLineNeedsWallsASpacingAFillPointAndAnOutput) {
    const auto error = [](std::vector<std::string_view> words) {
        return ParseVgaArguments(words, 4).error;
    };
    EXPECT_THAT(error({"walls.csv", "--fill", "1,1", "--out", "o"}), HasSubstr("--spacing S"));
    EXPECT_THAT(error({"walls.csv", "--spacing", "0.5", "--out", "o"}), HasSubstr("--fill X,Y"));
    EXPECT_THAT(error({"walls.csv", "--spacing", "0.5", "--fill", "1,1"}), HasSubstr("--out"));
    EXPECT_THAT(error({"walls.csv", "--spacing", "-1", "--fill", "1,1", "--out", "o"}),
                HasSubstr("above 0"));
    EXPECT_THAT(error({"walls.csv", "--spacing", "1", "--fill", "1;2", "--out", "o"}),
                HasSubstr("X,Y separated by ;"));
    EXPECT_THAT(error({"walls.csv", "--spacing", "1", "--fill", "1,1", "--raster", "g.png"}),
                HasSubstr("GeoTIFF"));
    EXPECT_THAT(error({"walls.csv", "--spacing", "1", "--fill", "1,1", "--out", "o", "--seen"}),
                HasSubstr("unknown option"));

    const std::vector<std::string_view> words = {"plan.png",  "--pixel-size=0.05",
                                                 "--spacing", "0.5",
                                                 "--fill",    "1,2;3.5,4",
                                                 "--origin",  "1,2",
                                                 "--radius",  "3,n",
                                                 "--out",     "o.gpkg",
                                                 "--metric",  "--threads=3"};
    const ParsedVgaArguments parsed = ParseVgaArguments(words, 4);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.pixelSize, 0.05);
    ASSERT_EQ(parsed.options.fillPoints.size(), 2u);
    EXPECT_EQ(parsed.options.fillPoints[1].y, 4.0);
    EXPECT_EQ(parsed.options.radii.size(), 2u);
    EXPECT_TRUE(parsed.options.metric);
    EXPECT_FALSE(parsed.options.angular);
    EXPECT_EQ(parsed.options.threads, 3);
    EXPECT_TRUE(ParseVgaArguments(std::vector<std::string_view>{"x", "--help"}, 1).help);
}

TEST_F(VgaCommand, APolygonLayerGivesAStyledPointLayerInItsCrsAndARasterOfEveryMeasure) {
    const fs::path walls = m_folder / "walls.gpkg";
    {
        GDALDatasetUniquePtr dataset(GetGDALDriverManager()->GetDriverByName("GPKG")->Create(
            walls.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        OGRSpatialReference crs;
        crs.importFromEPSG(27700);
        OGRLayer* layer = dataset->CreateLayer("walls", &crs, wkbPolygon, nullptr);
        OGRFeature feature(layer->GetLayerDefn());
        OGRGeometry* ring = nullptr;
        // The L room of the reference, as one polygon.
        OGRGeometryFactory::createFromWkt("POLYGON ((0.25 0.25, 4.25 0.25, 4.25 2.25, 2.25 2.25, "
                                          "2.25 4.25, 0.25 4.25, 0.25 0.25))",
                                          nullptr, &ring);
        feature.SetGeometryDirectly(ring);
        ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
    }
    ASSERT_EQ(
        Run({walls.string(), "--spacing", "0.5", "--fill", "1,1", "--out",
             (m_folder / "points.gpkg").string(), "--raster", (m_folder / "grid.tif").string()}),
        "");
    EXPECT_THAT(m_log, HasSubstr("48 points filled"));

    GDALDatasetUniquePtr points(
        GDALDataset::Open((m_folder / "points.gpkg").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    ASSERT_NE(points, nullptr);
    OGRLayer* layer = points->GetLayerByName("vga_points");
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->GetFeatureCount(), 48);
    ASSERT_NE(layer->GetSpatialRef(), nullptr);
    EXPECT_STREQ(layer->GetSpatialRef()->GetAuthorityCode(nullptr), "27700");
    OGRLayer* styles = points->GetLayerByName("layer_styles");
    ASSERT_NE(styles, nullptr);
    const auto style = std::unique_ptr<OGRFeature>(styles->GetNextFeature());
    EXPECT_THAT(style->GetFieldAsString("styleQML"), HasSubstr("attr=\"visual_integration_hh\""));
    EXPECT_THAT(style->GetFieldAsString("styleQML"), HasSubstr("MapUnit"));

    // The corner point (0.5, 0.5) sees the whole L but the point (4, 2) beyond the corner's
    // shadow: 47 points, as the peer counts.
    layer->SetAttributeFilter("x = 0.5 AND y = 0.5");
    const auto corner = std::unique_ptr<OGRFeature>(layer->GetNextFeature());
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->GetFieldAsInteger64("connectivity"), 47);

    GDALDatasetUniquePtr raster(
        GDALDataset::Open((m_folder / "grid.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    ASSERT_NE(raster, nullptr);
    EXPECT_EQ(raster->GetRasterCount(), layer->GetLayerDefn()->GetFieldCount() - 2);
    GDALRasterBand* band = raster->GetRasterBand(1);
    EXPECT_STREQ(band->GetDescription(), "connectivity");
    double transform[6];
    ASSERT_EQ(raster->GetGeoTransform(transform), CE_None);
    const auto valueAt = [&](double x, double y) {
        double value = 0;
        const int column = static_cast<int>((x - transform[0]) / transform[1]);
        const int row = static_cast<int>((y - transform[3]) / transform[5]);
        EXPECT_EQ(band->RasterIO(GF_Read, column, row, 1, 1, &value, 1, 1, GDT_Float64, 0, 0),
                  CE_None);
        return value;
    };
    EXPECT_EQ(valueAt(0.5, 0.5), 47.0);
    EXPECT_TRUE(std::isnan(valueAt(4.0, 4.0))) << "outside the L: no point";
    raster.reset();

    // Its own results are replaced; the walls being read, or a raster another program wrote,
    // only with --overwrite.
    const std::vector<std::string> again = {walls.string(), "--spacing", "0.5", "--fill", "1,1"};
    const auto with = [&again](std::vector<std::string> more) {
        more.insert(more.begin(), again.begin(), again.end());
        return more;
    };
    EXPECT_EQ(Run(with({"--raster", (m_folder / "grid.tif").string()})), "");
    EXPECT_THAT(Run(with({"--out", walls.string()})),
                HasSubstr("it holds the lines this run reads"));
    const fs::path picture = m_folder / "photo.tif";
    GDALDatasetUniquePtr(GetGDALDriverManager()->GetDriverByName("GTiff")->Create(
        picture.c_str(), 2, 2, 1, GDT_Byte, nullptr));
    EXPECT_THAT(Run(with({"--raster", picture.string()})),
                HasSubstr("it holds a raster, which vantrel-cli did not write"));
    EXPECT_EQ(Run(with({"--raster", picture.string(), "--overwrite"})), "");
}

TEST_F(VgaCommand, APictureGivesWhatTheOutlineOfItsDarkPixelsGives) {
    // A room of 8 x 5 light pixels inside a wall one pixel thick, with a pillar: at 0.5 units a
    // pixel, the light pixels' outline is the rectangle 0.25 .. 4.25 by 0.25 .. 2.75 (rows from
    // the bottom), and the pillar the square 1.75 .. 2.25 by 1.25 .. 1.75. (Sizes of whole powers
    // of two keep every corner exact, so that both runs decide touching on the same numbers.)
    const fs::path picture =
        Picture("room.png", {"##########", "#........#", "#........#", "#...#....#", "#........#",
                             "#........#", "##########"});
    const std::vector<std::string> common = {"--spacing", "0.5", "--fill", "0.5,0.5"};
    std::vector<std::string> fromPicture = {picture.string(), "--pixel-size", "0.5", "--out",
                                            (m_folder / "picture").string()};
    fromPicture.insert(fromPicture.end(), common.begin(), common.end());
    ASSERT_EQ(Run(fromPicture), "");

    std::ofstream(m_folder / "lines.csv")
        << "x1,y1,x2,y2\n0.25,0.25,4.25,0.25\n4.25,0.25,4.25,2.75\n4.25,2.75,0.25,2.75\n"
           "0.25,2.75,0.25,0.25\n1.75,1.25,2.25,1.25\n2.25,1.25,2.25,1.75\n2.25,1.75,1.75,1.75\n"
           "1.75,1.75,1.75,1.25\n";
    std::vector<std::string> fromLines = {(m_folder / "lines.csv").string(), "--out",
                                          (m_folder / "lines").string()};
    fromLines.insert(fromLines.end(), common.begin(), common.end());
    ASSERT_EQ(Run(fromLines), "");
    const std::string pictureCsv = Read(m_folder / "picture" / kVgaPointsFile);
    EXPECT_THAT(pictureCsv, HasSubstr("\r\n0.5,0.5,"));
    EXPECT_EQ(pictureCsv, Read(m_folder / "lines" / kVgaPointsFile));

    EXPECT_THAT(Run({picture.string(), "--spacing", "0.5", "--fill", "0.5,0.5", "--out",
                     (m_folder / "x").string()}),
                HasSubstr("--pixel-size M"));
    EXPECT_THAT(Run({picture.string(), "--pixel-size", "0.5", "--spacing", "0.5", "--fill", "2,1.5",
                     "--out", (m_folder / "x").string()}),
                HasSubstr("the fill point 2,1.5 lies in a dark pixel"));
}

TEST_F(VgaCommand, RefusalsSayWhyAndLeaveNoOutputBehind) {
    std::ofstream(m_folder / "room.csv") << "x1,y1,x2,y2\n0,0,4,0\n4,0,4,3\n4,3,0,3\n0,3,0,0\n";
    const std::string walls = (m_folder / "room.csv").string();
    const std::string out = (m_folder / "out").string();
    EXPECT_EQ(Run({walls, "--spacing", "0.5", "--fill", "9,1", "--out", out}),
              "the fill point 9,1 lies outside the walls, which span 0,0 to 4,3");
    EXPECT_THAT(Run({walls, "--spacing", "0.5", "--fill", "1,1", "--origin", "5,5", "--out", out}),
                HasSubstr("the origin 5,5 lies in no cell"));
    EXPECT_FALSE(fs::exists(out));

    std::vector<std::string_view> words = {walls, "--spacing", "0.0001", "--fill",
                                           "1,1", "--out",     out};
    ParsedVgaArguments parsed = ParseVgaArguments(words, 1);
    parsed.options.maxBytes = 64 << 20;
    std::ostringstream logText;
    StageLog log(logText, {true, false, false});
    const auto fault = RunVgaCommand(parsed.options, log);
    ASSERT_TRUE(fault);
    EXPECT_THAT(*fault,
                HasSubstr("MB, more than the 64 MB allowed; a larger --spacing needs less"));
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
} // namespace vantrel::cli

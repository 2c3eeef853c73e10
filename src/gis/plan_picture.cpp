#include "gis/plan_picture.h"

#include "core/host/quoted_text.h"
#include "gis/gdal_session.h"

#include <gdal_priv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace vantrel::gis {

namespace {

// Reads one row of a band as 0..255; 16-bit samples are scaled down, others clamped.
bool ReadRow(GDALRasterBand& band, int row, std::vector<int>& values) {
    const int width = band.GetXSize();
    values.resize(static_cast<std::size_t>(width));
    const bool wide = band.GetRasterDataType() == GDT_UInt16;
    if (wide) {
        std::vector<std::uint16_t> samples(static_cast<std::size_t>(width));
        if (band.RasterIO(GF_Read, 0, row, width, 1, samples.data(), width, 1, GDT_UInt16, 0, 0) !=
            CE_None)
            return false;
        std::transform(samples.begin(), samples.end(), values.begin(),
                       [](std::uint16_t sample) { return (sample + 128) / 257; });
        return true;
    }
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(width));
    if (band.RasterIO(GF_Read, 0, row, width, 1, samples.data(), width, 1, GDT_Byte, 0, 0) !=
        CE_None)
        return false;
    std::copy(samples.begin(), samples.end(), values.begin());
    return true;
}

} // namespace

bool IsPictureFileName(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* picture : {".png", ".bmp", ".gif", ".jpg", ".jpeg", ".tif", ".tiff"})
        if (extension == picture)
            return true;
    return false;
}

PictureReading ReadPlanPicture(const std::filesystem::path& file) {
    const GdalSession gdal;
    const auto fail = [&file](const std::string& why) {
        return PictureReading{std::nullopt, "Could not read " + QuotedName(file) + ": " + why};
    };
    const GDALDatasetUniquePtr dataset(
        GDALDataset::Open(file.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    if (!dataset)
        return fail(gdal.lastError("it is not a picture GDAL can read"));
    const int width = dataset->GetRasterXSize(), height = dataset->GetRasterYSize();
    const int bands = dataset->GetRasterCount();
    if (width <= 0 || height <= 0 || bands <= 0)
        return fail("it holds no picture");
    if (static_cast<long long>(width) * height > kMaxPicturePixels)
        return fail("its " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels are more than the " + std::to_string(kMaxPicturePixels) +
                    " a plan picture may have");

    GDALRasterBand* first = dataset->GetRasterBand(1);
    const GDALColorTable* palette =
        first->GetColorInterpretation() == GCI_PaletteIndex ? first->GetColorTable() : nullptr;
    const bool colour = bands >= 3 && !palette;
    const int alphaBand = colour ? (bands >= 4 ? 4 : 0) : (bands == 2 ? 2 : 0);
    std::array<std::vector<int>, 4> rows;
    vga::DarkPixels pixels(width, height);
    for (int row = 0; row < height; ++row) {
        const int channels = colour ? 3 : 1;
        for (int channel = 0; channel < channels; ++channel)
            if (!ReadRow(*dataset->GetRasterBand(channel + 1), row, rows[channel]))
                return fail(gdal.lastError("its pixels could not be read"));
        if (alphaBand > 0 && !ReadRow(*dataset->GetRasterBand(alphaBand), row, rows[3]))
            return fail(gdal.lastError("its pixels could not be read"));
        for (int column = 0; column < width; ++column) {
            const auto at = static_cast<std::size_t>(column);
            int red = rows[0][at], green = red, blue = red;
            int alpha = alphaBand > 0 ? rows[3][at] : 255;
            if (colour) {
                green = rows[1][at];
                blue = rows[2][at];
            } else if (palette) {
                const GDALColorEntry* entry = palette->GetColorEntry(red);
                if (entry) {
                    red = entry->c1;
                    green = entry->c2;
                    blue = entry->c3;
                    alpha = entry->c4;
                } else {
                    red = green = blue = 255;
                }
            }
            pixels.setDark(column, row, vga::Luminance(red, green, blue, alpha) < vga::kDarkBelow);
        }
    }
    return {std::move(pixels), {}};
}

} // namespace vantrel::gis

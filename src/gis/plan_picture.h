// Plan pictures for visibility graph analysis: any raster GDAL reads (PNG, BMP, GIF, JPEG, TIFF
// and more), each pixel taken as dark or light by its brightness.
#pragma once

#include "core/vga/picture_walls.h"

#include <filesystem>
#include <optional>
#include <string>

namespace vantrel::gis {

// More pixels than this are refused, as no plan needs them and they would not fit in memory.
inline constexpr long long kMaxPicturePixels = 1LL << 28;

struct PictureReading {
    std::optional<vga::DarkPixels> pixels;
    // Why not, naming the file: set when `pixels` is empty.
    std::string error;
};

// Grey, grey with alpha, paletted, RGB and RGBA pictures of 8 or 16 bits a channel; a pixel is
// dark when its Luminance, laid over white, is below kDarkBelow.
PictureReading ReadPlanPicture(const std::filesystem::path& file);

// True for the names of plan pictures: .png, .bmp, .gif, .jpg, .jpeg, .tif, .tiff.
bool IsPictureFileName(const std::filesystem::path& file);

} // namespace vantrel::gis

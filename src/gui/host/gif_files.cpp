#include "gui/host/gif_files.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

namespace vantrel {

namespace {

constexpr int kMaxGifSide = 65535;
constexpr int kMaxPaletteSize = 256;
constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 255 / (kCubeLevels - 1);

struct IndexedPicture {
    std::vector<GifColorType> palette;
    std::vector<GifPixelType> pixels; // row by row
};

GifColorType ToGif(QRgb colour) {
    return {static_cast<GifByteType>(qRed(colour)), static_cast<GifByteType>(qGreen(colour)),
            static_cast<GifByteType>(qBlue(colour))};
}

// The picture's own colours, or nothing when it has more than a palette holds.
bool IndexExactly(const QImage& picture, IndexedPicture& indexed) {
    std::unordered_map<QRgb, GifPixelType> indexOf;
    indexed.pixels.reserve(static_cast<size_t>(picture.width()) * picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = row[x] | 0xff000000u;
            auto found = indexOf.find(colour);
            if (found == indexOf.end()) {
                if (indexed.palette.size() == kMaxPaletteSize)
                    return false;
                found = indexOf.emplace(colour, indexed.palette.size()).first;
                indexed.palette.push_back(ToGif(colour));
            }
            indexed.pixels.push_back(found->second);
        }
    }
    return true;
}

int CubeLevel(int channel) {
    return (channel + kCubeStep / 2) / kCubeStep;
}

// Each pixel takes the nearest of the 216 colours of an even colour cube.
IndexedPicture IndexByColourCube(const QImage& picture) {
    IndexedPicture indexed;
    for (int r = 0; r < kCubeLevels; ++r)
        for (int g = 0; g < kCubeLevels; ++g)
            for (int b = 0; b < kCubeLevels; ++b)
                indexed.palette.push_back({static_cast<GifByteType>(r * kCubeStep),
                                           static_cast<GifByteType>(g * kCubeStep),
                                           static_cast<GifByteType>(b * kCubeStep)});
    indexed.pixels.reserve(static_cast<size_t>(picture.width()) * picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = row[x];
            indexed.pixels.push_back(static_cast<GifPixelType>(
                (CubeLevel(qRed(colour)) * kCubeLevels + CubeLevel(qGreen(colour))) * kCubeLevels +
                CubeLevel(qBlue(colour))));
        }
    }
    return indexed;
}

int AppendToBuffer(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct ColourMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

struct ReadPosition {
    const QByteArray& bytes;
    qsizetype offset = 0;
};

int ReadFromBuffer(GifFileType* gif, GifByteType* data, int length) {
    auto* position = static_cast<ReadPosition*>(gif->UserData);
    const qsizetype count = std::min<qsizetype>(length, position->bytes.size() - position->offset);
    std::memcpy(data, position->bytes.constData() + position->offset, count);
    position->offset += count;
    return static_cast<int>(count);
}

// Walks the blocks of one record without decoding its pixels.
bool SkipRecord(GifFileType* gif, GifRecordType type) {
    GifByteType* block = nullptr;
    if (type == IMAGE_DESC_RECORD_TYPE) {
        int codeSize = 0;
        if (DGifGetImageDesc(gif) != GIF_OK || DGifGetCode(gif, &codeSize, &block) != GIF_OK)
            return false;
        while (block)
            if (DGifGetCodeNext(gif, &block) != GIF_OK)
                return false;
        return true;
    }
    if (type == EXTENSION_RECORD_TYPE) {
        int code = 0;
        if (DGifGetExtension(gif, &code, &block) != GIF_OK)
            return false;
        while (block)
            if (DGifGetExtensionNext(gif, &block) != GIF_OK)
                return false;
        return true;
    }
    return false;
}

QString GifFailure(int code) {
    const char* text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("the GIF encoder failed");
}

} // namespace

GifEncoding EncodeGif(const QImage& image) {
    if (image.isNull())
        return {{}, QStringLiteral("there is no picture to save")};
    if (image.width() > kMaxGifSide || image.height() > kMaxGifSide)
        return {{},
                QStringLiteral("a GIF picture can be at most %1 pixels wide and high")
                    .arg(kMaxGifSide)};

    const QImage picture = image.convertToFormat(QImage::Format_RGB32);
    IndexedPicture indexed;
    if (!IndexExactly(picture, indexed))
        indexed = IndexByColourCube(picture);
    // giflib takes palettes whose size is a power of two, at least 2.
    size_t paletteSize = 2;
    while (paletteSize < indexed.palette.size())
        paletteSize *= 2;
    indexed.palette.resize(paletteSize, GifColorType{0, 0, 0});

    const std::unique_ptr<ColorMapObject, ColourMapDeleter> colourMap(
        GifMakeMapObject(static_cast<int>(paletteSize), indexed.palette.data()));
    if (!colourMap)
        return {{}, GifFailure(E_GIF_ERR_NOT_ENOUGH_MEM)};

    GifEncoding encoding;
    int error = E_GIF_SUCCEEDED;
    GifFileType* gif = EGifOpen(&encoding.bytes, AppendToBuffer, &error);
    if (!gif)
        return {{}, GifFailure(error)};

    const int width = picture.width();
    bool written =
        EGifPutScreenDesc(gif, width, picture.height(), 8, 0, colourMap.get()) == GIF_OK &&
        EGifPutImageDesc(gif, 0, 0, width, picture.height(), false, nullptr) == GIF_OK;
    for (int y = 0; written && y < picture.height(); ++y)
        written = EGifPutLine(gif, indexed.pixels.data() + static_cast<size_t>(y) * width, width) ==
                  GIF_OK;
    const int lastError = gif->Error;
    // Closing writes the trailer and frees the encoder, whatever happened before.
    if (EGifCloseFile(gif, &error) != GIF_OK && written)
        return {{}, GifFailure(error)};
    if (!written)
        return {{}, GifFailure(lastError)};
    return encoding;
}

bool IsCompleteGif(const QByteArray& bytes) {
    ReadPosition position{bytes};
    int error = D_GIF_SUCCEEDED;
    GifFileType* gif = DGifOpen(&position, ReadFromBuffer, &error);
    if (!gif)
        return false;
    bool complete = false;
    bool hasImage = false;
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    while (true) {
        if (DGifGetRecordType(gif, &type) != GIF_OK) {
            // Some encoders leave out the trailer; a file that ends between records is whole.
            complete = hasImage && position.offset == bytes.size();
            break;
        }
        if (type == TERMINATE_RECORD_TYPE) {
            complete = true;
            break;
        }
        if (!SkipRecord(gif, type))
            break;
        hasImage = hasImage || type == IMAGE_DESC_RECORD_TYPE;
    }
    DGifCloseFile(gif, &error);
    return complete;
}

} // namespace vantrel

#include "gui/host/image_headers.h"

#include <QtEndian>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>

namespace vantrel {

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12;
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kUncompressed = 0;
constexpr quint32 kBitFields = 3;
constexpr quint32 kAlphaBitFields = 6;

struct BmpHeader {
    qint64 width = 0;
    qint64 height = 0;
    int bitsPerPixel = 0;
    quint32 compression = kUncompressed;
    qint64 pixelOffset = 0;
};

template <class T> T Little(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

std::optional<BmpHeader> ReadBmpHeader(const QByteArray& bytes) {
    if (!bytes.startsWith("BM") || bytes.size() < kFileHeaderSize + kCoreHeaderSize)
        return std::nullopt;
    BmpHeader header;
    header.pixelOffset = Little<quint32>(bytes, 10);
    const quint32 infoSize = Little<quint32>(bytes, 14);
    if (infoSize == kCoreHeaderSize) {
        header.width = Little<quint16>(bytes, 18);
        header.height = Little<quint16>(bytes, 20);
        header.bitsPerPixel = Little<quint16>(bytes, 24);
        return header;
    }
    if (infoSize < kInfoHeaderSize || bytes.size() < kFileHeaderSize + kInfoHeaderSize)
        return std::nullopt;
    header.width = std::abs(static_cast<qint64>(Little<qint32>(bytes, 18)));
    // A negative height means the rows run top down.
    header.height = std::abs(static_cast<qint64>(Little<qint32>(bytes, 22)));
    header.bitsPerPixel = Little<quint16>(bytes, 28);
    header.compression = Little<quint32>(bytes, 30);
    return header;
}

} // namespace

QSize ClaimedBmpSize(const QByteArray& bytes) {
    const std::optional<BmpHeader> header = ReadBmpHeader(bytes);
    if (!header)
        return {};
    // Only -2^31 is beyond an int; it is too large all the same.
    return {static_cast<int>(std::min<qint64>(header->width, INT_MAX)),
            static_cast<int>(std::min<qint64>(header->height, INT_MAX))};
}

bool IsCompleteBmp(const QByteArray& bytes) {
    const std::optional<BmpHeader> header = ReadBmpHeader(bytes);
    if (!header)
        return false;
    if (header->compression != kUncompressed && header->compression != kBitFields &&
        header->compression != kAlphaBitFields)
        return true;
    // Rows are padded to whole 32-bit words. A row takes at most 2^31 pixels of 2^16 bits, so
    // its bytes fit; the rows are counted by dividing, as their product may not.
    const qint64 rowBytes = (header->width * header->bitsPerPixel + 31) / 32 * 4;
    const qint64 pixelBytes = bytes.size() - header->pixelOffset;
    if (pixelBytes < 0)
        return false;
    return rowBytes == 0 || header->height <= pixelBytes / rowBytes;
}

bool IsCompletePng(const QByteArray& bytes) {
    constexpr qsizetype kSignatureSize = 8;
    // Each chunk's length and type before its data, its check sum after.
    constexpr qsizetype kChunkFrameSize = 12;
    for (qsizetype at = kSignatureSize; at + kChunkFrameSize <= bytes.size();) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (length > static_cast<quint64>(bytes.size() - at - kChunkFrameSize))
            return false;
        if (bytes.mid(at + 4, 4) == "IEND")
            return true;
        at += kChunkFrameSize + static_cast<qsizetype>(length);
    }
    return false;
}

bool IsCompleteJpeg(const QByteArray& bytes) {
    // Marker bytes cannot occur inside coded data, so a cut-off file lacks the end marker.
    const qsizetype lastScan = bytes.lastIndexOf("\xff\xda");
    return lastScan >= 0 && bytes.indexOf("\xff\xd9", lastScan) >= 0;
}

} // namespace vantrel

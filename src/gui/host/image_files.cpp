#include "gui/host/image_files.h"

#include "core/export/atomic_file.h"
#include "files/whole_file.h"
#include "gui/host/gif_files.h"
#include "gui/host/image_headers.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace vantrel {

namespace {

constexpr int kJpegQuality = 90;
constexpr qint64 kBytesPerPixel = 4;

// The Qt writer for an extension, or nothing for GIF and for names the program cannot write.
QByteArray QtFormatFor(const QString& suffix) {
    if (suffix == "jpg" || suffix == "jpeg")
        return "jpeg";
    if (suffix == "bmp")
        return "bmp";
    if (suffix == "png")
        return "png";
    return {};
}

QString Suffix(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

// Qt's GIF, JPEG and BMP readers show whatever part of a cut-off file they could read; libpng
// allocates whatever a chunk of a damaged PNG file claims.
bool IsComplete(const QByteArray& format, const QByteArray& bytes) {
    if (format == "gif")
        return IsCompleteGif(bytes);
    if (format == "jpeg")
        return IsCompleteJpeg(bytes);
    if (format == "bmp")
        return IsCompleteBmp(bytes);
    if (format == "png")
        return IsCompletePng(bytes);
    return true;
}

// The Qt reader for the formats the program offers, told by their first bytes, so that no other
// decoder ever sees the file.
QByteArray OfferedFormat(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("\xff\xd8\xff"))
        return "jpeg";
    if (bytes.startsWith("BM"))
        return "bmp";
    return {};
}

QString TooLarge(QSize size) {
    return QStringLiteral("at %1 by %2 pixels it is too large to hold")
        .arg(size.width())
        .arg(size.height());
}

// Encodes the whole picture in memory, so that nothing is written when encoding fails.
QString Encode(const QImage& image, const QString& suffix, QByteArray& bytes) {
    if (suffix == "gif") {
        GifEncoding gif = EncodeGif(image);
        bytes = std::move(gif.bytes);
        return gif.failure;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QtFormatFor(suffix));
    if (suffix != "png")
        writer.setQuality(kJpegQuality);
    if (!writer.write(image))
        return writer.errorString();
    return {};
}

} // namespace

bool FitsImageLimit(QSize pixels) {
    // Width times height of two ints stays within 62 bits; the bytes per pixel would not.
    return pixels.width() > 0 && pixels.height() > 0 &&
           static_cast<qint64>(pixels.width()) * pixels.height() <= kMaxImageBytes / kBytesPerPixel;
}

ImageReadResult ReadImageFile(const QString& path) {
    // No picture within the memory limit needs a larger file.
    const files::WholeFile file = files::ReadWholeFile(path, kMaxImageBytes);
    if (!file.failure.isEmpty())
        return {{}, file.failure};
    return DecodeImage(file.bytes);
}

ImageReadResult DecodeImage(QByteArray bytes) {
    const QByteArray format = OfferedFormat(bytes);
    if (format.isEmpty())
        return {{}, QStringLiteral("it is not a picture the program can read")};
    // Qt gives no size for a BMP header claiming a huge picture.
    if (const QSize claimed = ClaimedBmpSize(bytes); claimed.isValid() && !FitsImageLimit(claimed))
        return {{}, TooLarge(claimed)};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);

    QImageReader::setAllocationLimit(static_cast<int>(kMaxImageBytes / (1024 * 1024)));
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return {{}, QStringLiteral("it is not a picture the program can read")};
    const QSize size = reader.size();
    if (size.isValid() && !FitsImageLimit(size))
        return {{}, TooLarge(size)};
    if (!IsComplete(format, bytes))
        return {{}, QStringLiteral("the file is incomplete")};
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {{}, QStringLiteral("it is damaged or incomplete (%1)").arg(reader.errorString())};
    return {std::move(image), {}};
}

bool IsWritableImageName(const QString& path) {
    const QString suffix = Suffix(path);
    return suffix == "gif" || !QtFormatFor(suffix).isEmpty();
}

QString WriteImageFile(const QImage& image, const QString& path) {
    if (!IsWritableImageName(path))
        return QStringLiteral("the program saves pictures only as .jpg, .jpeg, .bmp, .png or "
                              ".gif files");
    if (exports::IsWriteProtected(QFile::encodeName(path).toStdString()))
        return QStringLiteral("Permission denied");
    QByteArray bytes;
    if (QString failure = Encode(image, Suffix(path), bytes); !failure.isEmpty())
        return failure;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString failure = file.errorString();
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace vantrel

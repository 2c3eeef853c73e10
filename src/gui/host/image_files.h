// Picture files: reading within a memory limit, and writing in the format the extension names
// without ever leaving a half-written file.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace vantrel {

// The most memory one decoded picture may take.
inline constexpr qint64 kMaxImageBytes = 256LL * 1024 * 1024;

// True when a picture of this size, at 32 bits a pixel, stays within kMaxImageBytes.
bool FitsImageLimit(QSize pixels);

struct ImageReadResult {
    QImage image;    // null when the file could not be read
    QString failure; // why not, as a phrase; empty on success
};

// Reads a jpg, gif, bmp or png file.
ImageReadResult ReadImageFile(const QString& path);
// Decodes the bytes of a jpg, gif, bmp or png picture, within the same limits.
ImageReadResult DecodeImage(QByteArray bytes);

// True when WriteImageFile can encode a file of this name (.jpg, .jpeg, .bmp, .png, .gif).
bool IsWritableImageName(const QString& path);

// Writes `image` in the format its extension names. The target is replaced only once the whole
// file is written. Empty on success, otherwise why the file could not be written.
QString WriteImageFile(const QImage& image, const QString& path);

} // namespace vantrel

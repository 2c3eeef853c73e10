// GIF files through giflib: encoding, which Qt lacks, and checking that a file is complete, which
// Qt's reader does not (it shows whatever part of a cut-off file it could read).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vantrel {

struct GifEncoding {
    QByteArray bytes;
    QString failure; // why the picture could not be encoded; empty on success
};

// An 8-bit palette, exact when the picture has at most 256 colours, otherwise a 6 x 6 x 6 colour
// cube.
GifEncoding EncodeGif(const QImage& image);

// True when every block of the file is there, up to its trailer.
bool IsCompleteGif(const QByteArray& bytes);

} // namespace vantrel

// What a picture file's own headers say, checked before Qt decodes it: Qt's readers give no
// size for some headers and show whatever part of a cut-off file they could read.
#pragma once

#include <QByteArray>
#include <QSize>

namespace vantrel {

// The size a BMP file's header claims; invalid when the bytes are not a BMP header.
QSize ClaimedBmpSize(const QByteArray& bytes);

// True when an uncompressed BMP file holds all the pixel rows its header promises (run-length
// coded files are left to the decoder).
bool IsCompleteBmp(const QByteArray& bytes);

// True when every chunk of a PNG file lies within it, up to the end chunk. libpng makes room for
// whatever length a chunk claims before it reads it: gigabytes for a damaged file of a few hundred
// bytes.
bool IsCompletePng(const QByteArray& bytes);

// True when a JPEG file's last scan is followed by the end-of-image marker.
bool IsCompleteJpeg(const QByteArray& bytes);

} // namespace vantrel

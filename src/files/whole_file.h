// Reading a whole file into memory, safely whatever the path names.
#pragma once

#include <QByteArray>
#include <QString>

namespace vantrel::files {

struct WholeFile {
    QByteArray bytes;
    QString failure; // why the file could not be read, as a phrase; empty on success
};

// Reads a regular file of at most `maxBytes`. A device or a pipe is refused, since it could be
// read for ever or block, and the read never goes past the size found first.
WholeFile ReadWholeFile(const QString& path, qint64 maxBytes);

} // namespace vantrel::files

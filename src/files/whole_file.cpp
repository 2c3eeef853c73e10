#include "files/whole_file.h"

#include <QFile>
#include <QFileInfo>

namespace vantrel::files {

WholeFile ReadWholeFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    if (!info.exists())
        return {{}, QStringLiteral("the file does not exist")};
    if (!info.isFile())
        return {{}, QStringLiteral("it is not a regular file")};
    if (info.size() > maxBytes)
        return {{}, QStringLiteral("the file is too large to hold")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("the file cannot be read")};
    QByteArray bytes = file.read(info.size() + 1);
    if (bytes.size() != info.size())
        return {{}, QStringLiteral("the file changed while it was read")};
    return {std::move(bytes), {}};
}

} // namespace vantrel::files

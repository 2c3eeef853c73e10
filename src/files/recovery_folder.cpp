#include "files/recovery_folder.h"

#include "files/project_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantrel::files {

namespace {

constexpr char kPrefix[] = "recovery-";
constexpr char kExtension[] = ".vantrel";

QString LockNameFor(const QString& file) {
    return file.chopped(static_cast<qsizetype>(sizeof(kExtension) - 1)) + ".lock";
}

} // namespace

RecoveryFolder::RecoveryFolder(QString folder)
    : m_folder(std::move(folder)), m_base(QStringLiteral("%1%2-%3")
                                              .arg(kPrefix)
                                              .arg(QCoreApplication::applicationPid())
                                              .arg(QDateTime::currentMSecsSinceEpoch())) {}

RecoveryFolder::~RecoveryFolder() = default;

QString RecoveryFolder::ownFile() const {
    return QDir(m_folder).filePath(m_base + kExtension);
}

std::optional<std::string> RecoveryFolder::keep(const ProjectFile& project) {
    if (!m_ownLock) {
        if (!QDir().mkpath(m_folder))
            return "Could not make the folder \"" + QFile::encodeName(m_folder).toStdString() +
                   "\"";
        auto lock = std::make_unique<QLockFile>(LockNameFor(ownFile()));
        // A lock held for the whole run must never be taken for a stale one.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            return "Could not lock \"" + QFile::encodeName(lock->fileName()).toStdString() + "\"";
        m_ownLock = std::move(lock);
    }
    return WriteProjectFile(ownFile(), project);
}

void RecoveryFolder::clear() {
    QFile::remove(ownFile());
    m_ownLock.reset();
}

std::optional<QString> RecoveryFolder::takeOverLeftover() {
    const QFileInfoList files = QDir(m_folder).entryInfoList(
        {QStringLiteral("%1*%2").arg(kPrefix, kExtension)}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : files) {
        const QString path = file.absoluteFilePath();
        if (path == QFileInfo(ownFile()).absoluteFilePath())
            continue;
        auto lock = std::make_unique<QLockFile>(LockNameFor(path));
        // Only a lock whose run has ended is stale, however old it is.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        m_leftover = path;
        m_leftoverLock = std::move(lock);
        return path;
    }
    return std::nullopt;
}

void RecoveryFolder::settleLeftover() {
    if (m_leftover.isEmpty())
        return;
    QFile::remove(m_leftover);
    m_leftover.clear();
    m_leftoverLock.reset();
}

} // namespace vantrel::files

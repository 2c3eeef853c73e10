#include "files/recovery_folder.h"

#include "core/export/atomic_file.h"
#include "files/project_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantrel::files {

namespace {

constexpr char kPrefix[] = "recovery-";
constexpr char kDamagedPrefix[] = "damaged-";
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
    exports::RemoveTemporaryFilesOfEndedRuns(QFile::encodeName(m_folder).toStdString());
    const QFileInfoList files = QDir(m_folder).entryInfoList(
        {QStringLiteral("%1*%2").arg(kPrefix, kExtension)}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : files) {
        const QString path = file.absoluteFilePath();
        if (path == QFileInfo(ownFile()).absoluteFilePath() || m_passedOver.contains(path))
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

std::optional<QString> RecoveryFolder::setLeftoverAside() {
    if (m_leftover.isEmpty())
        return std::nullopt;
    const QFileInfo leftover(m_leftover);
    const QString aside = leftover.dir().filePath(kDamagedPrefix + leftover.fileName());
    std::optional<QString> kept;
    if (QFile::rename(m_leftover, aside))
        kept = aside;
    else
        m_passedOver.append(m_leftover);
    m_leftover.clear();
    m_leftoverLock.reset();
    return kept;
}

void RecoveryFolder::settleLeftover() {
    if (m_leftover.isEmpty())
        return;
    QFile::remove(m_leftover);
    m_leftover.clear();
    m_leftoverLock.reset();
}

} // namespace vantrel::files

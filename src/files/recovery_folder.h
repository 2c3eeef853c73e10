// Where a run keeps its unsaved work after every change, so that the next run can offer it back
// when this one ends without quitting (a crash, a kill, a power cut).
#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

namespace vantrel::files {

struct ProjectFile;

// Each run keeps one file, recovery-PID-TIME.vantrel, beside a lock file that it holds for as
// long as it runs. A file whose lock no living run holds was left by a run that did not end
// cleanly.
class RecoveryFolder {
public:
    explicit RecoveryFolder(QString folder);
    ~RecoveryFolder();

    const QString& folder() const { return m_folder; }
    QString ownFile() const;

    // Replaces this run's file with `project`, atomically. A message on failure.
    std::optional<std::string> keep(const ProjectFile& project);
    // Removes this run's file and lock, as on a clean quit.
    void clear();

    // The newest file left by a run that did not end cleanly. This run takes over its lock, so
    // that no other run offers it too, until `settleLeftover` removes the file and the lock.
    // Temporary files of copies that ended runs were writing are removed first.
    std::optional<QString> takeOverLeftover();
    void settleLeftover();
    // Renames the file taken over, which cannot be restored, to damaged-recovery-...; kept for
    // whoever wants to look, and never offered again. Its new path; nothing when it could not be
    // renamed, and then this run passes over it.
    std::optional<QString> setLeftoverAside();

private:
    QString m_folder;
    QString m_base; // this run's file name without the extension
    std::unique_ptr<QLockFile> m_ownLock;
    QString m_leftover;
    std::unique_ptr<QLockFile> m_leftoverLock;
    QStringList m_passedOver;
};

} // namespace vantrel::files

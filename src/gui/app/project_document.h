// The project file the main window's work belongs to, whether its lines have changed since they
// were last saved, the window title that shows both, and the recovery copy kept after every
// change.
#pragma once

#include "core/app/project_state.h"
#include "files/project_file.h"
#include "files/recovery_folder.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace vantrel {

class MainWindow;

inline const QString kProgramTitle = QStringLiteral("VANTREL Generalized Space Syntax V1.02");

class ProjectDocument {
public:
    explicit ProjectDocument(MainWindow& main);
    ~ProjectDocument();

    // From now on a recovery copy is kept in `folder` after every change.
    void keepRecoveryIn(const QString& folder);
    files::RecoveryFolder* recovery() { return m_recovery.get(); }

    // Empty while the work belongs to no file.
    const QString& filePath() const { return m_filePath; }
    // Lines were drawn, moved or removed since the work was last saved or opened.
    bool isModified() const;

    // Everything needed to go on digitising, as it stands.
    files::ProjectFile capture();

    // The work as it stands was saved to, or opened from, `path`.
    void savedAs(const QString& path);
    // The work belongs to `path` but was not saved there, as work restored after a crash; its
    // lines count as unsaved.
    void restoredFor(const QString& path);
    // The work belongs to no file; its lines count as unsaved.
    void forgetFile();
    // Called after every change of the lines: the title and the recovery copy follow.
    void linesChanged();
    // A clean end of the run: no recovery copy is left behind.
    void endRun();

private:
    void refreshTitle();
    void keepRecoveryCopy();
    const QByteArray& planBase64();

    MainWindow& m_main;
    QString m_filePath;
    std::vector<AxialLine> m_savedLines;
    // The plan's PNG, encoded once per plan rather than at every line.
    QByteArray m_planBase64;
    qint64 m_planKey = 0;
    std::unique_ptr<files::RecoveryFolder> m_recovery;
    bool m_recoveryFailureShown = false;
};

} // namespace vantrel

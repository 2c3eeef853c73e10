#include "gui/app/project_document.h"

#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QScrollBar>

namespace vantrel {

namespace {

QByteArray EncodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

} // namespace

ProjectDocument::ProjectDocument(MainWindow& main) : m_main(main) {}

ProjectDocument::~ProjectDocument() = default;

void ProjectDocument::keepRecoveryIn(const QString& folder) {
    m_recovery = std::make_unique<files::RecoveryFolder>(folder);
}

bool ProjectDocument::isModified() const {
    return m_main.state().AxialLines != m_savedLines;
}

files::ProjectFile ProjectDocument::capture() {
    const ProjectState& state = m_main.state();
    return {.planBase64 = planBase64(),
            .mapWidth = state.MapWidth,
            .mapHeight = state.MapHeight,
            .zoomX = state.ZoomFactorX,
            .zoomY = state.ZoomFactorY,
            .scaleFixed = state.DrawingEnabled,
            .penRgb = m_main.mapWindow().foreColor().rgb() & 0xFFFFFFu,
            .penWidth = m_main.widthScrollBar().value(),
            .lines = state.AxialLines,
            .projectPath = {}};
}

void ProjectDocument::savedAs(const QString& path) {
    m_filePath = path;
    m_savedLines = m_main.state().AxialLines;
    linesChanged();
}

void ProjectDocument::restoredFor(const QString& path) {
    m_filePath = path;
    m_savedLines.clear();
    linesChanged();
}

void ProjectDocument::forgetFile() {
    m_filePath.clear();
    m_savedLines.clear();
    linesChanged();
}

void ProjectDocument::linesChanged() {
    refreshTitle();
    keepRecoveryCopy();
}

void ProjectDocument::endRun() {
    if (m_recovery)
        m_recovery->clear();
}

void ProjectDocument::refreshTitle() {
    if (m_filePath.isEmpty()) {
        m_main.setWindowTitle(kProgramTitle);
        return;
    }
    m_main.setWindowTitle(QStringLiteral("%1 \u2014 %2%3")
                              .arg(kProgramTitle, QFileInfo(m_filePath).fileName(),
                                   isModified() ? QStringLiteral(" *") : QString()));
}

void ProjectDocument::keepRecoveryCopy() {
    if (!m_recovery)
        return;
    if (!isModified() || m_main.state().AxialLines.empty()) {
        m_recovery->clear();
        return;
    }
    files::ProjectFile copy = capture();
    copy.projectPath = m_filePath;
    const std::optional<std::string> failure = m_recovery->keep(copy);
    // Said once: the user can still save, and a message at every line would stop the drawing.
    if (failure && !m_recoveryFailureShown) {
        m_recoveryFailureShown = true;
        m_main.workspace().dialogs.message(
            QStringLiteral("Your work cannot be kept for recovery after a crash, so save it "
                           "with File > Save Project: %1")
                .arg(QString::fromStdString(*failure)),
            "Keeping the Axial Map", MessageButtons::Ok, MessageIcon::Warning);
    }
}

const QByteArray& ProjectDocument::planBase64() {
    const QImage& plan = m_main.storedPlan();
    if (plan.isNull()) {
        m_planBase64.clear();
        m_planKey = 0;
    } else if (plan.cacheKey() != m_planKey) {
        m_planBase64 = EncodePng(plan).toBase64();
        m_planKey = plan.cacheKey();
    }
    return m_planBase64;
}

} // namespace vantrel

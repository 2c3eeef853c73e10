#include "gui/app/project_operations.h"

#include "core/geometry/line_fitting.h"
#include "core/host/number_text.h"
#include "core/io/axial_line_reader.h"
#include "files/project_file.h"
#include "gis/layer_reader.h"
#include "gui/app/main_window.h"
#include "gui/app/new_project.h"
#include "gui/app/project_check.h"
#include "gui/app/project_document.h"
#include "gui/app/workspace.h"
#include "gui/drawing/digitising.h"
#include "gui/drawing/scale_and_pen.h"
#include "gui/geometry/map_refresh.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>

#include <filesystem>

namespace vantrel {

namespace {

constexpr char kOpenTitle[] = "Opening a Project";
constexpr char kSaveFailedTitle[] = "Saving Failed";
constexpr char kImportTitle[] = "Importing Axial Lines";
constexpr char kRecoverTitle[] = "Recovering the Axial Map";

const FileRequest kProjectFiles{"Vantrel Project (*.vantrel)|*.vantrel", "vantrel"};
const FileRequest kLineFiles{
    "Axial Lines (*.txt, *.csv, *.gpkg, *.shp, *.geojson, *.dxf, ...)|*.txt; *.csv; *.gpkg; *.shp; "
    "*.geojson; *.json; *.fgb; *.dxf; *.tab; *.mif; *.gml; *.kml|All Files (*)|*",
    ""};
// A map of 500 lines, even with many other columns, is far smaller.
constexpr qint64 kMaxLineFileBytes = 64LL * 1024 * 1024;

void Report(Workspace& workspace, const QString& text, const QString& title) {
    workspace.dialogs.message(text, title, MessageButtons::Ok, MessageIcon::Warning);
}

// CheckProject, with a failure reported as "`opening` "file": reason." and nothing given.
std::optional<ReadyProject> ReadProject(Workspace& workspace, const QString& path,
                                        const QString& opening, const QString& title) {
    ProjectCheck check = CheckProject(path);
    if (check.tooManyLines)
        WarnLineLimit(workspace);
    else if (!check.ready)
        Report(workspace, QStringLiteral("%1 \"%2\": %3.").arg(opening, path, check.failure),
               title);
    return std::move(check.ready);
}

// The documented new-project reset, then the project's plan, pen, zoom, scale phase and lines.
void Restore(Workspace& workspace, const files::ProjectFile& project, const QImage& plan) {
    MainWindow& main = workspace.main;
    ProjectState& state = workspace.state;
    main.storedPlan() = plan;
    if (plan.isNull()) {
        state.MapWidth = project.mapWidth;
        state.MapHeight = project.mapHeight;
    }
    ResetProject(workspace);

    const QColor pen = QColor::fromRgb(project.penRgb);
    main.penDialogColour() = pen;
    main.mapWindow().setForeColor(pen);
    main.widthScrollBar().setValue(project.penWidth);
    ZoomTo(workspace, project.zoomX, project.zoomY);
    if (project.scaleFixed)
        FixScale(workspace);

    state.AxialLines = project.lines;
    if (state.AxialLines.empty())
        return;
    // As digitising leaves it: the pen's width on the map, the lines white on the inset.
    main.mapWindow().setDrawWidth(project.penWidth);
    for (const AxialLine& line : state.AxialLines)
        DrawAxialLine(workspace, line, pen, Qt::white);
    main.box(1).setText(QString::fromStdString(IntegerText(state.LineCount())));
}

bool SaveProjectTo(Workspace& workspace, const QString& path) {
    ProjectDocument& project = workspace.main.project();
    if (const std::optional<std::string> failure =
            files::WriteProjectFile(path, project.capture())) {
        Report(workspace, QString::fromStdString(*failure), kSaveFailedTitle);
        return false;
    }
    project.savedAs(path);
    return true;
}

// The layer of lines to read: the one there is, or the one the user chooses when there are
// several. Nothing when the user cancelled; an empty name lets the reader say what is missing.
std::optional<std::string> ChooseLineLayer(Workspace& workspace, const QString& path,
                                           const std::filesystem::path& file) {
    const gis::LineLayerList list = gis::ListLineLayers(file);
    if (list.layers.size() < 2)
        return list.layers.empty() ? std::string() : list.layers.front().name;
    QStringList items;
    for (const gis::LineLayer& layer : list.layers)
        items << QStringLiteral("%1 (%2)").arg(
            QString::fromStdString(layer.name),
            layer.featureCount == 1 ? QStringLiteral("1 feature")
                                    : QStringLiteral("%1 features").arg(layer.featureCount));
    const std::optional<int> chosen = workspace.dialogs.choose(
        QStringLiteral("\"%1\" holds %2 layers of lines. Which one should be imported?")
            .arg(path)
            .arg(list.layers.size()),
        kImportTitle, items);
    if (!chosen)
        return std::nullopt;
    return list.layers[static_cast<std::size_t>(*chosen)].name;
}

// The lines of the file, or nothing when the user cancelled or the file could not be read, which
// is reported with the batch tool's words, naming the file. Text files are read as axial-lines
// exports or x1,y1,x2,y2 CSV files, anything else as a GIS layer, whose damaged features
// `damaged` tells of, as the batch tool's note does.
std::optional<std::vector<MapLine>> ReadLineFile(Workspace& workspace, const QString& path,
                                                 QString& damaged) {
    const QFileInfo info(path);
    const auto fail = [&](const QString& message) {
        Report(workspace, message, kImportTitle);
        return std::nullopt;
    };
    const auto cannot = [&](const QString& reason) {
        return fail(QStringLiteral("Could not read \"%1\": %2").arg(path, reason));
    };
    if (info.exists() && !info.isFile() && !info.isDir())
        return cannot(QStringLiteral("it is not a regular file"));
    if (info.size() > kMaxLineFileBytes)
        return cannot(
            QStringLiteral("it is too large to be a map of at most %1 lines").arg(kMaxLines));
    const std::filesystem::path file = QFile::encodeName(path).toStdString();
    const QString suffix = info.suffix().toLower();
    if (suffix == "txt" || suffix == "csv") {
        std::vector<MapLine> lines;
        if (const std::optional<std::string> failure = io::ReadMapLinesFile(file, lines))
            return fail(QString::fromStdString(*failure));
        return lines;
    }
    const std::optional<std::string> layer = ChooseLineLayer(workspace, path, file);
    if (!layer)
        return std::nullopt;
    gis::LayerReading reading = gis::ReadLayerLines(file, *layer);
    if (!reading.layer)
        return fail(QString::fromStdString(reading.error));
    if (!reading.layer->damagedFeatures.empty())
        damaged = QString::fromStdString(gis::DamagedFeaturesNote(reading.layer->damagedFeatures));
    return std::move(reading.layer->lines);
}

} // namespace

bool SaveProject(Workspace& workspace) {
    const QString path = workspace.main.project().filePath();
    return path.isEmpty() ? SaveProjectAs(workspace) : SaveProjectTo(workspace, path);
}

bool SaveProjectAs(Workspace& workspace) {
    const std::optional<QString> path = workspace.dialogs.saveFile(kProjectFiles);
    return path && SaveProjectTo(workspace, *path);
}

void OpenProject(Workspace& workspace) {
    if (!ConfirmReplacingWork(workspace))
        return;
    const std::optional<QString> path = workspace.dialogs.openFile(kProjectFiles);
    if (!path)
        return;
    const std::optional<ReadyProject> ready =
        ReadProject(workspace, *path, "Could not open the project", kOpenTitle);
    if (!ready)
        return;
    Restore(workspace, ready->file, ready->plan);
    workspace.main.project().savedAs(*path);
}

void ImportAxialLines(Workspace& workspace) {
    if (!ConfirmReplacingWork(workspace))
        return;
    const std::optional<QString> path = workspace.dialogs.openFile(kLineFiles);
    if (!path)
        return;
    QString damaged;
    std::optional<std::vector<MapLine>> read = ReadLineFile(workspace, *path, damaged);
    if (!read)
        return;
    std::vector<MapLine>& lines = *read;
    if (lines.size() > static_cast<std::size_t>(kMaxLines)) {
        WarnLineLimit(workspace);
        return;
    }
    const PictureSurface& map = workspace.main.mapWindow();
    const double scale = geometry::FitLinesToWindow(lines, map.widthUnits(), map.heightUnits());

    files::ProjectFile project = workspace.main.project().capture();
    project.scaleFixed = true;
    project.lines.clear();
    // Within the map window now, so the project's floats hold them.
    for (const MapLine& line : lines)
        project.lines.push_back({static_cast<float>(line.x1), static_cast<float>(line.y1),
                                 static_cast<float>(line.x2), static_cast<float>(line.y2)});
    Restore(workspace, project, workspace.main.storedPlan());
    // Imported lines are new work: saving them asks for a file rather than overwriting one.
    workspace.main.project().forgetFile();
    if (scale != 1.0)
        workspace.dialogs.message(
            QStringLiteral("The lines of \"%1\" lie outside the map window, so they were scaled "
                           "by %2 and moved to fit it, and turned over so that north is up (a "
                           "GIS counts y northwards, the map window downwards).")
                .arg(*path, QString::number(scale, 'g', 6)),
            kImportTitle, MessageButtons::Ok, MessageIcon::Information);
    if (!damaged.isEmpty())
        Report(workspace, QStringLiteral("Importing \"%1\": %2.").arg(*path, damaged),
               kImportTitle);
}

bool ConfirmReplacingWork(Workspace& workspace) {
    if (!workspace.main.project().isModified() || workspace.state.AxialLines.empty())
        return true;
    switch (workspace.dialogs.message("Save changes to the axial map?", kProgramTitle,
                                      MessageButtons::SaveDiscardCancel, MessageIcon::Question)) {
    case MessageAnswer::Save:
        return SaveProject(workspace);
    case MessageAnswer::Discard:
        return true;
    default:
        return false;
    }
}

void OfferRecoveredWork(Workspace& workspace) {
    files::RecoveryFolder* recovery = workspace.main.project().recovery();
    if (!recovery)
        return;
    // Copies that cannot be restored are set aside, so that the newest sound one is offered and
    // no later start shows the same failure again.
    std::optional<QString> leftover;
    std::optional<ReadyProject> ready;
    QStringList setAside;
    while ((leftover = recovery->takeOverLeftover())) {
        ProjectCheck check = CheckProject(*leftover);
        ready = std::move(check.ready);
        if (ready)
            break;
        const QString reason = check.tooManyLines
                                   ? QStringLiteral("it holds more than %1 lines").arg(kMaxLines)
                                   : check.failure;
        const std::optional<QString> aside = recovery->setLeftoverAside();
        setAside.append(
            QStringLiteral("The work kept after a crash could not be restored from \"%1\": %2. %3")
                .arg(*leftover, reason,
                     aside ? QStringLiteral("It was kept as \"%1\".").arg(*aside)
                           : QStringLiteral("It could not be set aside.")));
    }
    if (!setAside.isEmpty())
        Report(workspace, setAside.join("\n\n"), kRecoverTitle);
    if (!ready)
        return;
    const QString changed =
        QLocale().toString(QFileInfo(*leftover).lastModified(), QLocale::ShortFormat);
    const MessageAnswer answer = workspace.dialogs.message(
        QStringLiteral("Vantrel did not end cleanly last time. Its axial map of %1, last "
                       "changed %2, was kept. Restore it?")
            .arg(ready->file.lines.size() == 1
                     ? QStringLiteral("1 line")
                     : QStringLiteral("%1 lines").arg(ready->file.lines.size()))
            .arg(changed),
        kRecoverTitle, MessageButtons::RestoreDiscard, MessageIcon::Question);
    if (answer == MessageAnswer::Restore) {
        Restore(workspace, ready->file, ready->plan);
        // Unsaved, under the file it belonged to if any: this run now keeps the work in its own
        // recovery copy.
        workspace.main.project().restoredFor(ready->file.projectPath);
    }
    recovery->settleLeftover();
}

void ConnectProjectOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    const auto connect = [&](const char* item, auto operation) {
        QObject::connect(&main.action(item), &QAction::triggered, &main,
                         [&workspace, operation] { operation(workspace); });
    };
    connect("mnuOpenProject", OpenProject);
    connect("mnuSaveProject", SaveProject);
    connect("mnuSaveProjectAs", SaveProjectAs);
    connect("mnuImportLines", ImportAxialLines);
}

} // namespace vantrel

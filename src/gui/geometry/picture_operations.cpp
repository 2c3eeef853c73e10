#include "gui/geometry/picture_operations.h"

#include "gui/app/main_window.h"
#include "gui/app/menu_explanation.h"
#include "gui/app/new_project.h"
#include "gui/app/project_document.h"
#include "gui/app/workspace.h"
#include "gui/display/numbered_map_window.h"
#include "gui/display/results_window.h"
#include "gui/host/dialogs.h"
#include "gui/host/image_files.h"
#include "gui/host/picture_surface.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <functional>
#include <optional>

namespace vantrel {

namespace {

constexpr char kOpenTitle[] = "Opening the Map Window";
constexpr char kSaveTitle[] = "Saving the Map Window";
constexpr char kPrintTitle[] = "Printing the Map Window";
constexpr char kCopyTitle[] = "Copying the Map Window";
constexpr char kPasteTitle[] = "Pasting into the Map Window";
constexpr char kClearTitle[] = "Clearing the Map Window";

constexpr char kPrintExplanation[] =
    "This let's you print the graphics in the window on the selected printer";
constexpr char kCopyExplanation[] = "This let's you copy the contents of the window to a clipboard";
constexpr char kPasteExplanation[] = "This let's you paste whatever you most recently copied to "
                                     "the clipboard to the current window";
constexpr char kClearExplanation[] = "This let's you clear whatever is in the current window";

const FileRequest kGraphicsFiles{
    "Graphics (*.jpg, *.gif, *.bmp*, *.png)|*.jpg; *.jpeg; *.gif; *.bmp; *.png", "jpg"};

// A picture on screen is 96 pixels to the inch (15 twips a pixel); paper keeps that size.
constexpr double kScreenPixelsPerInch = 96.0;

void ReportFailure(Workspace& workspace, const QString& text, const QString& title) {
    workspace.dialogs.message(text, title, MessageButtons::Ok, MessageIcon::Warning);
}

// Asks for a picture file and reads it, laid on `backColour` where it is transparent. Nothing
// when the dialog was cancelled or the file could not be read, which is reported.
std::optional<QImage> AskForPicture(Workspace& workspace, const QColor& backColour) {
    const std::optional<QString> path = workspace.dialogs.openFile(kGraphicsFiles);
    if (!path)
        return std::nullopt;
    const ImageReadResult read = ReadImageFile(*path);
    if (read.image.isNull()) {
        ReportFailure(
            workspace,
            QStringLiteral("The picture \"%1\" could not be opened: %2.").arg(*path, read.failure),
            kOpenTitle);
        return std::nullopt;
    }
    QImage picture(read.image.size(), QImage::Format_RGB32);
    picture.fill(backColour);
    QPainter painter(&picture);
    painter.drawImage(0, 0, read.image);
    return picture;
}

QString PrinterName(const QPrinter& printer) {
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

void ConnectItem(QAction& item, QObject& context, std::function<void()> operation) {
    QObject::connect(&item, &QAction::triggered, &context, std::move(operation));
}

void ConnectMainWindowItems(Workspace& workspace) {
    MainWindow& main = workspace.main;
    const auto connect = [&](const char* item, void (*operation)(Workspace&)) {
        ConnectItem(main.action(item), main, [&workspace, operation] { operation(workspace); });
    };
    connect("mnuOpen", OpenPlan);
    connect("mnuMap", SaveMapPicture);
    connect("mnuMapWindow", PrintMapPicture);
    connect("mnuCopy", CopyMapPicture);
    connect("mnuPaste", PasteMapPicture);
    connect("mnuClear", ClearMapPicture);
}

// The results windows hide their stepping groups before every picture item but Print.
void ConnectResultsWindowItems(Workspace& workspace, ResultsWindow& window) {
    PictureSurface& surface = window.surface();
    const auto connect = [&](const char* item, std::function<void()> operation) {
        ConnectItem(window.action(item), window, std::move(operation));
    };
    const auto fitWindow = [&window, &surface] {
        window.sizeToMap(surface.widthUnits(), surface.heightUnits());
    };
    connect("mnuOpen", [&workspace, &window, &surface, fitWindow] {
        window.hideSteppingGroups();
        if (OpenPictureInto(workspace, surface, kOpenPictureExplanation))
            fitWindow();
    });
    connect("mnuMap", [&workspace, &window, &surface] {
        window.hideSteppingGroups();
        SavePicture(workspace, surface, kSaveJpegExplanation);
    });
    connect("mnuMapWindow", [&workspace, &surface] { PrintPicture(workspace, surface); });
    connect("mnuCopy", [&workspace, &window, &surface] {
        window.hideSteppingGroups();
        CopyPicture(workspace, surface);
    });
    connect("mnuPaste", [&workspace, &window, &surface, fitWindow] {
        window.hideSteppingGroups();
        PastePicture(workspace, surface);
        fitWindow();
    });
    connect("mnuClear", [&workspace, &window, &surface] {
        window.hideSteppingGroups();
        ClearPicture(workspace, surface);
    });
}

void ConnectNumberedWindowItems(Workspace& workspace, NumberedMapWindow& window) {
    PictureSurface& surface = window.surface();
    ConnectItem(window.action("mnuMap"), window,
                [&workspace, &surface] { SavePicture(workspace, surface, kSaveJpegExplanation); });
    ConnectItem(window.action("mnuMapWindow"), window,
                [&workspace, &surface] { PrintPicture(workspace, surface); });
}

} // namespace

bool OpenPictureInto(Workspace& workspace, PictureSurface& surface, const QString& explanation) {
    ExplainMenuOperation(workspace, explanation, kOpenTitle);
    const std::optional<QImage> picture = AskForPicture(workspace, surface.backColor());
    if (!picture)
        return false;
    surface.setImage(*picture);
    return true;
}

void SavePicture(Workspace& workspace, const PictureSurface& surface, const QString& explanation) {
    ExplainMenuOperation(workspace, explanation, kSaveTitle);
    const std::optional<QString> path = workspace.dialogs.saveFile(kGraphicsFiles);
    if (!path)
        return;
    if (const QString failure = WriteImageFile(surface.image(), *path); !failure.isEmpty())
        ReportFailure(
            workspace,
            QStringLiteral("The picture could not be saved as \"%1\": %2.").arg(*path, failure),
            kSaveTitle);
}

void PrintPicture(Workspace& workspace, const PictureSurface& surface) {
    ExplainMenuOperation(workspace, kPrintExplanation, kPrintTitle);
    QPrinter printer(QPrinter::HighResolution);
    if (!workspace.dialogs.printer(printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        ReportFailure(
            workspace,
            QStringLiteral("The picture could not be printed on \"%1\".").arg(PrinterName(printer)),
            kPrintTitle);
        return;
    }
    const QImage& picture = surface.image();
    // Screen size on paper, shrunk to the printable area when the picture is larger.
    const double scale = std::min({printer.resolution() / kScreenPixelsPerInch,
                                   printer.width() / static_cast<double>(picture.width()),
                                   printer.height() / static_cast<double>(picture.height())});
    painter.drawImage(QRectF(0, 0, picture.width() * scale, picture.height() * scale), picture);
    painter.end();
}

void CopyPicture(Workspace& workspace, const PictureSurface& surface) {
    ExplainMenuOperation(workspace, kCopyExplanation, kCopyTitle);
    workspace.main.pictureStore() = surface.image();
    // Also offered to other programs; Paste keeps to the program's own store.
    QGuiApplication::clipboard()->setImage(surface.image());
}

void PastePicture(Workspace& workspace, PictureSurface& surface) {
    ExplainMenuOperation(workspace, kPasteExplanation, kPasteTitle);
    const QImage& store = workspace.main.pictureStore();
    if (store.isNull())
        surface.clear();
    else
        surface.setImage(store);
}

void ClearPicture(Workspace& workspace, PictureSurface& surface) {
    ExplainMenuOperation(workspace, kClearExplanation, kClearTitle);
    surface.clear();
}

void OpenPlan(Workspace& workspace) {
    ExplainMenuOperation(workspace, kOpenPlanExplanation, kOpenTitle);
    MessagePanel& panel = workspace.main.panel();
    panel.setExplanation(5, "As the map window does not scroll, the map size you can load, "
                            "depends on the size of screen you have. The map is measured in "
                            "pixels");
    panel.setExplanation(6, "This program has been written for a screen of size 1028 x 768.");
    panel.setExplanation(7, " You will need to scale your map accordingly and the larger the "
                            "monitor the bigger the map you will be able to display until a "
                            "later version of the program enables scrolling.");
    const std::optional<QImage> plan =
        AskForPicture(workspace, workspace.main.mapWindow().backColor());
    if (!plan)
        return;
    // The new project starts on the plan: the reset sizes the map window to it, measures it,
    // lays the window out around it and shows the start-up texts.
    workspace.main.storedPlan() = *plan;
    // A project on another plan is not the work of the file it was opened from.
    workspace.main.project().forgetFile();
    ResetProject(workspace);
}

void SaveMapPicture(Workspace& workspace) {
    SavePicture(workspace, workspace.main.mapWindow(), kSaveMapExplanation);
}

void PrintMapPicture(Workspace& workspace) {
    PrintPicture(workspace, workspace.main.mapWindow());
}

void CopyMapPicture(Workspace& workspace) {
    CopyPicture(workspace, workspace.main.mapWindow());
}

void PasteMapPicture(Workspace& workspace) {
    PastePicture(workspace, workspace.main.mapWindow());
    workspace.main.layOutAroundMap();
}

void ClearMapPicture(Workspace& workspace) {
    ClearPicture(workspace, workspace.main.mapWindow());
}

void ConnectPictureOperations(Workspace& workspace) {
    ConnectMainWindowItems(workspace);
    ConnectResultsWindowItems(workspace, workspace.axialResults);
    ConnectResultsWindowItems(workspace, workspace.junctionResults);
    ConnectNumberedWindowItems(workspace, workspace.numberedAxialMap);
    ConnectNumberedWindowItems(workspace, workspace.numberedJunctionMap);
}

} // namespace vantrel

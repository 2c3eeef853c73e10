#include "gui/analysis/vga_operations.h"

#include "core/export/atomic_file.h"
#include "core/export/measures_csv.h"
#include "core/host/free_memory.h"
#include "core/host/number_text.h"
#include "core/vga/picture_walls.h"
#include "core/vga/vga_analysis.h"
#include "core/vga/vga_columns.h"
#include "core/vga/visibility_graph.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/display/vga_results_window.h"
#include "gui/geometry/picture_operations.h"
#include "gui/host/dialogs.h"
#include "gui/host/picture_surface.h"
#include "gui/host/progress_bar_progress.h"
#include "gui/host/twips.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include <cmath>
#include <filesystem>
#include <thread>

namespace vantrel {

namespace {

const QString kWarningTitle = QStringLiteral("Data Input Warning");
// About this many cells of the map at the default spacing.
constexpr double kDefaultCells = 3000;

// The next left click on the map window, taken for the point to fill the grid from before the
// drawing of lines can see it; a right click gives up. It lives as long as it waits.
class FillClick final : public QObject {
public:
    FillClick(Workspace& workspace, int spacing)
        : QObject(&workspace.main.mapWindow()), m_workspace(workspace), m_spacing(spacing) {
        setObjectName("vgaFillClick");
        PictureSurface& map = workspace.main.mapWindow();
        map.installEventFilter(this);
        map.setCursor(Qt::CrossCursor);
    }
    ~FillClick() override { m_workspace.main.mapWindow().unsetCursor(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove ||
            event->type() == QEvent::MouseButtonDblClick)
            return true;
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton) {
            const QPointF at(PixelsToTwips(press->position().x()),
                             PixelsToTwips(press->position().y()));
            if (!AnalyseVisibilityFrom(m_workspace, m_spacing, at))
                return true;
        } else {
            m_workspace.main.panel().show("Visibility Graph Analysis Cancelled", "", "", "");
        }
        deleteLater();
        m_workspace.main.mapWindow().removeEventFilter(this);
        return true;
    }

private:
    Workspace& m_workspace;
    int m_spacing;
};

class BarStages final : public vga::VgaStages {
public:
    explicit BarStages(QProgressBar& bar) : m_progress(bar, true) {}
    Progress* begin(std::string_view) override { return &m_progress; }

private:
    ProgressBarProgress m_progress;
};

vga::DarkPixels DarkPixelsOf(const QImage& plan) {
    const QImage pixels = plan.convertToFormat(QImage::Format_ARGB32);
    vga::DarkPixels dark(pixels.width(), pixels.height());
    for (int row = 0; row < pixels.height(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(row));
        for (int column = 0; column < pixels.width(); ++column) {
            const QRgb pixel = line[column];
            dark.setDark(column, row,
                         vga::Luminance(qRed(pixel), qGreen(pixel), qBlue(pixel), qAlpha(pixel)) <
                             vga::kDarkBelow);
        }
    }
    return dark;
}

// The dark pixels of the plan in their own colours, every other pixel transparent.
QImage WallsOf(const QImage& plan, const vga::DarkPixels& dark) {
    QImage walls = plan.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < walls.height(); ++row)
        for (int column = 0; column < walls.width(); ++column)
            if (!dark.dark(column, row))
                walls.setPixel(column, row, qRgba(0, 0, 0, 0));
    return walls;
}

// The spacing typed, or nothing when the input was cancelled; asked again after a wrong one.
std::optional<int> AskSpacing(Workspace& workspace, QSize plan) {
    const int standard = DefaultSpacing(plan);
    const long long points =
        static_cast<long long>(plan.width() / standard) * (plan.height() / standard);
    const QString prompt =
        QStringLiteral("Enter the Grid Spacing in Pixels of the Map (Leave it Empty for %1 Pixels, "
                       "About %2 Points on the Whole Map)")
            .arg(standard)
            .arg(points);
    for (;;) {
        const std::optional<QString> text =
            workspace.dialogs.input(prompt, "Grid Spacing for the Visibility Graph");
        if (!text)
            return std::nullopt;
        if (text->trimmed().isEmpty())
            return standard;
        bool whole = false;
        const int spacing = text->trimmed().toInt(&whole);
        if (whole && spacing >= 1 && spacing <= std::max(plan.width(), plan.height()))
            return spacing;
        workspace.dialogs.message("You Typed in an Incorrect Number/Value",
                                  "Error in KeyBoard Input", MessageButtons::YesNo,
                                  MessageIcon::Question);
    }
}

void WarnRefusal(Workspace& workspace, vga::FillFault fault) {
    switch (fault) {
    case vga::FillFault::OutsideExtent:
        Warn(workspace.dialogs,
             "The Point You Clicked is Outside the Plan - Click in its Open Space", kWarningTitle);
        return;
    case vga::FillFault::InWall:
        Warn(workspace.dialogs,
             "The Point You Clicked is in a Wall of the Plan (a Dark Pixel) - Click in the Open "
             "Space",
             kWarningTitle);
        return;
    case vga::FillFault::NoSpace:
        Warn(workspace.dialogs,
             "The Space Where You Clicked is Smaller than the Grid Spacing - Click in a Larger "
             "Space or Choose a Smaller Spacing",
             kWarningTitle);
        return;
    }
}

void ShowResults(Workspace& workspace, std::unique_ptr<VgaShown> shown) {
    const vga::VgaResult& result = shown->result;
    long long seen = 0;
    for (const std::int32_t connectivity : result.connectivity)
        seen += connectivity;
    const int points = result.pointCount();
    workspace.main.panel().show(
        "In the New Window, We Show the Visual Integration of Each Point of the Grid.",
        QStringLiteral("%1 points fill the open space; each sees %2 others on average.")
            .arg(points)
            .arg(QString::fromStdString(IntegerText(static_cast<int>(seen / std::max(points, 1))))),
        "Visual integration [HH] is the accessibility of a point to all others by the fewest "
        "changes of view, from red (high) to blue (low); grey points have none.",
        "Choose another measure from the list at the top of the window, and save the points "
        "with every measure from its File menu.");
    VgaResultsWindow& window = workspace.vgaResults;
    window.showResults(std::move(shown));
    window.show();
    window.raise();
}

} // namespace

QImage PlanAsShown(Workspace& workspace) {
    const ProjectState& state = workspace.state;
    const PictureSurface& map = workspace.main.mapWindow();
    QImage plan(map.image().size(), QImage::Format_RGB32);
    plan.fill(Qt::white);
    // As the map window paints it (RepaintMapFromPlan), so that the walls are what the user sees.
    QPainter painter(&plan);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(0, 0, state.MapWidth * state.ZoomFactorX / kTwipsPerPixel,
                             state.MapHeight * state.ZoomFactorY / kTwipsPerPixel),
                      workspace.main.storedPlan());
    return plan;
}

int DefaultSpacing(QSize plan) {
    const double area = static_cast<double>(plan.width()) * plan.height();
    return std::max(1, static_cast<int>(std::lround(std::sqrt(area / kDefaultCells))));
}

void AnalyseVisibilityGraph(Workspace& workspace) {
    if (workspace.main.storedPlan().isNull()) {
        Warn(workspace.dialogs,
             "Visibility Graph Analysis Needs a Plan - Open One in the Map Window First (File, "
             "Open)",
             kWarningTitle);
        return;
    }
    delete workspace.main.mapWindow().findChild<QObject*>("vgaFillClick");
    workspace.main.panel().show(
        "Visibility Graph Analysis: the Isovist Fields of the Plan",
        "The walls are the dark pixels of the plan in the map window; the axial lines you have "
        "drawn do not count as walls.",
        "A grid of points fills the open space from the point you click, and two points are "
        "related when each can see the other.",
        "From these relations come each point's visual integration, its isovist and the other "
        "measures of the field.");
    const std::optional<int> spacing =
        AskSpacing(workspace, workspace.main.mapWindow().image().size());
    if (!spacing)
        return;
    workspace.main.panel().show("Click in the Open Space of the Plan Where the Grid Should Start",
                                QStringLiteral("The grid spacing is %1 pixels.").arg(*spacing),
                                "Right-click to cancel.", "");
    new FillClick(workspace, *spacing);
}

bool AnalyseVisibilityFrom(Workspace& workspace, int spacing, QPointF clicked) {
    const QImage plan = PlanAsShown(workspace);
    const vga::DarkPixels dark = DarkPixelsOf(plan);
    const vga::WallSet walls(vga::PictureWalls(dark, 1.0));
    const vga::PicturePlacement placement{1.0, plan.height()};
    const vga::DoublePoint fill =
        placement.fromPicture(clicked.x() / kTwipsPerPixel, clicked.y() / kTwipsPerPixel);

    vga::VgaOptions options;
    options.spacing = spacing;
    options.fillPoints = {fill};
    options.origins = {fill};
    options.threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    options.maxBytes = FreeMemoryBytes();
    options.inWall = [&dark](vga::DoublePoint point) { return vga::InDarkPixel(dark, 1.0, point); };
    QProgressBar& bar = workspace.main.progressBar();
    BarStages stages(bar);
    std::variant<vga::VgaResult, vga::VgaRefusal> run;
    try {
        run = vga::RunVga(walls, options, &stages);
    } catch (const vga::TooLarge& tooLarge) {
        bar.hide();
        Warn(workspace.dialogs,
             QStringLiteral("The Grid is Too Large for the Memory this Computer Has Free (%1) - "
                            "Choose a Larger Spacing")
                 .arg(QString::fromStdString(tooLarge.what())),
             kWarningTitle);
        return true;
    }
    bar.hide();
    if (const auto* refusal = std::get_if<vga::VgaRefusal>(&run)) {
        WarnRefusal(workspace, refusal->fault);
        return false;
    }
    auto shown = std::make_unique<VgaShown>();
    shown->result = std::get<vga::VgaResult>(std::move(run));
    shown->columns = vga::VgaColumns(shown->result);
    shown->plan = plan;
    shown->walls = WallsOf(plan, dark);
    ShowResults(workspace, std::move(shown));
    workspace.main.mapWindow().setDrawWidth(1);
    return true;
}

void SaveVgaPoints(Workspace& workspace) {
    const VgaShown* shown = workspace.vgaResults.shown();
    if (!workspace.main.menuMessagesOff())
        Warn(workspace.dialogs,
             "This saves every measure of each point of the grid (its place in pixels from the "
             "bottom-left of the plan, connectivity, visual integration, isovists and the rest) to "
             "a CSV file",
             "Saving the Visibility Graph Points");
    if (!shown)
        return;
    const std::optional<QString> fileName =
        workspace.dialogs.saveFile({"CSV (*.csv)|*.csv", "csv"});
    if (!fileName)
        return;
    const auto failure = exports::WriteFileAtomically(
        std::filesystem::path(fileName->toStdU16String()), [shown](std::ostream& out) {
            exports::WriteColumns(out, shown->columns, shown->result.pointCount());
        });
    if (failure)
        workspace.dialogs.message(QString::fromStdString(*failure), "Saving Failed",
                                  MessageButtons::Ok, MessageIcon::Warning);
}

void ConnectVgaOperations(Workspace& workspace) {
    MainWindow& main = workspace.main;
    QObject::connect(&main.command(25), &QPushButton::clicked, &main,
                     [&workspace] { AnalyseVisibilityGraph(workspace); });
    VgaResultsWindow& window = workspace.vgaResults;
    const auto connect = [&window](const char* item, std::function<void()> operation) {
        QObject::connect(&window.action(item), &QAction::triggered, &window, std::move(operation));
    };
    connect("mnuMap", [&workspace, &window] {
        SavePicture(workspace, window.surface(), kSaveJpegExplanation);
    });
    connect("mnuMapWindow", [&workspace, &window] { PrintPicture(workspace, window.surface()); });
    connect("mnuCopy", [&workspace, &window] { CopyPicture(workspace, window.surface()); });
    connect("mnuPoints", [&workspace] { SaveVgaPoints(workspace); });
}

} // namespace vantrel

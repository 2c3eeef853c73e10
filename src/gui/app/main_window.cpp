#include "gui/app/main_window.h"

#include "gui/app/operations_wiring.h"
#include "gui/app/project_document.h"
#include "gui/app/project_operations.h"
#include "gui/app/window_accessibility.h"
#include "gui/app/windows.h"
#include "gui/app/workspace.h"
#include "gui/geometry/map_refresh.h"
#include "gui/host/arrow_icons.h"
#include "gui/host/menus.h"
#include "gui/host/picture_surface.h"
#include "gui/host/twips.h"
#include "gui/host/window_placement.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtMath>

#include <algorithm>

namespace vantrel {

namespace {

// Layout constants, in twips.
constexpr double kMapLeft = 2200;
constexpr double kMapTop = 500;
constexpr double kDefaultMapWidth = 9000;
constexpr double kDefaultMapHeight = 6750;
constexpr double kColumnLeft = 100;
constexpr double kColumnWidth = 2000;
constexpr double kButtonHeight = 450;
constexpr double kGap = 100;
constexpr double kPanelWidth = 3300;
constexpr double kInsetHeight = 2475;

struct ButtonEntry {
    int number;
    const char* caption;
    const char* toolTip;
};

// The buttons of the left column, top to bottom.
constexpr ButtonEntry kColumnButtons[] = {
    {2, "Compute Intersections", "Computes Locations of Junctions"},
    {1, "Check Axial  Lines", "Changes the Position of an Axial Line"},
    {8, "View-Merge Intersections", "View Junctions and then Snap"},
    {3, "Axial Line  Analysis", "The PRIMAL: Computes Line Accessibilities"},
    {4, "Junction Analysis", "The DUAL: Computes Junction Accessibilities"},
    {5, "Clear and Reload", "Restarts the Project Afresh"},
    {6, "Clear Background", "Removes the Background Plan"},
    {25, "Visibility Graph Analysis", "Computes the Isovist Fields"},
};

// Buttons that other operations run; they stay hidden.
constexpr ButtonEntry kHiddenButtons[] = {
    {7, "Snap End Lines?", ""},
    {9, "Syntax Colour Map of the Axial Lines", ""},
    {10, "Smoothed Surface", ""},
    {11, "Syntax Colour Map of the Junctions", ""},
    {12, "Picture Store", ""},
    {13, "Save the Axial Integration Values", ""},
    {14, "Save the Junction Integration Values", ""},
    {18, "Statistics of the Axial Map", ""},
    {19, "Numbered Axial Map", ""},
    {20, "Numbered Junction Map", ""},
    {21, "Depth Map of the Axial Lines", ""},
    {22, "Depth Map of the Junctions", ""},
    {23, "Axial Integration Graph", ""},
    {24, "Junction Integration Graph", ""},
    {26, "Radius 3 Map of the Axial Lines", ""},
    {27, "Radius 3 Map of the Junctions", ""},
    {28, "Step the Axial Radius Map", ""},
    {29, "Step the Junction Radius Map", ""},
    {31, "Step the Axial Graph Span", ""},
    {32, "Step the Junction Graph Span", ""},
    {33, "Statistics of the Axial Graph", ""},
    {34, "Statistics of the Junction Graph", ""},
};

struct BoxEntry {
    int number;
    const char* accessibleName;
};

constexpr BoxEntry kLineBoxes[] = {
    {1, "Number of Axial Lines"}, {2, "Number of Street Intersections"}, {8, "Threshold"},
    {9, "Menu Message Switch"},   {10, "Threshold Label"},              {11, "Line Drawing Width"},
};

constexpr BoxEntry kPanelBoxes[] = {
    {3, "Operation Title"}, {4, "Advice"}, {5, "Explanation 1"},
    {6, "Explanation 2"},   {7, "Explanation 3"},
};

void Place(QWidget& widget, double left, double top, double width, double height) {
    widget.setGeometry(TwipsRect(left, top, width, height));
}

// The pixel height at which a panel box of this pixel width shows its whole text, and at least
// one line.
int FittedHeight(const QPlainTextEdit& box, int width) {
    const QFontMetrics metrics(box.font());
    const int frame = 2 * box.frameWidth();
    const int margin = 2 * qCeil(box.document()->documentMargin());
    const QString text = box.toPlainText();
    const int textHeight = text.isEmpty()
                               ? metrics.height()
                               : metrics
                                     .boundingRect(QRect(0, 0, width - frame - margin, 1 << 20),
                                                   Qt::TextWordWrap, text)
                                     .height();
    // The box scrolls unless its last line has a few pixels to spare below it.
    constexpr int kSpareBelow = 4;
    return std::max(textHeight, metrics.height()) + frame + margin + kSpareBelow;
}

} // namespace

MainWindow::MainWindow(Dialogs& dialogs) : m_windows(std::make_unique<Windows>()) {
    AnnouncePlainWidgetsAsWindows();
    setObjectName("Form1");
    setWindowTitle(kProgramTitle);
    setAccessibleName(windowTitle());
    createWidgets();
    createMenus();
    m_placement =
        std::make_unique<WindowPlacement>(*this, [this] { return secondaryWindowRoom(); });
    for (QWidget* window : m_windows->all())
        m_placement->manage(*window);
    m_panel = std::make_unique<MessagePanel>(*m_labels[1], *m_panelBoxes[3], *m_panelBoxes[4],
                                             *m_panelBoxes[5], *m_panelBoxes[6],
                                             *m_panelBoxes[7]);
    m_workspace.reset(new Workspace{m_state, dialogs, *this, m_windows->axialResults,
                                    m_windows->junctionResults, m_windows->numberedAxialMap,
                                    m_windows->numberedJunctionMap, m_windows->textWindow,
                                    m_windows->helpWindow, m_windows->programWindow,
                                    m_windows->vgaResults});
    m_project = std::make_unique<ProjectDocument>(*this);
    setUpAtStart();
    ConnectOperations(*m_workspace);
}

MainWindow::~MainWindow() = default;

void MainWindow::createWidgets() {
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("scrollArea");
    m_canvas = new QWidget;
    m_canvas->setObjectName("canvas");
    scroll->setWidget(m_canvas);
    setCentralWidget(scroll);

    // The map scrolls within an area of the start size, so that the panel, the inset and the
    // buttons stay where they are whatever the map's size.
    m_mapArea = new QScrollArea(m_canvas);
    m_mapArea->setObjectName("mapArea");
    m_mapArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_mapArea->setFrameShape(QFrame::NoFrame);
    m_mapWindow = new PictureSurface;
    m_mapWindow->setObjectName("Picture1");
    m_mapWindow->setAccessibleName("Map Window");
    m_mapWindow->setBackColor(Qt::white);
    m_mapWindow->resizeUnits(kDefaultMapWidth, kDefaultMapHeight);
    m_mapWindow->clear();
    m_mapArea->setWidget(m_mapWindow);

    m_insetWindow = new PictureSurface(m_canvas);
    m_insetWindow->setObjectName("Picture2");
    m_insetWindow->setAccessibleName("Inset Window");
    m_insetWindow->setToolTip("This always show the axial map");
    m_insetWindow->setBackColor(Qt::black);
    m_insetWindow->setForeColor(Qt::white);
    m_insetWindow->resizeUnits(kPanelWidth, kInsetHeight);
    m_insetWindow->clear();

    QFont columnFont = font();
    columnFont.setPointSizeF(7.5);
    for (const ButtonEntry& entry : kColumnButtons) {
        auto* button = new QPushButton(entry.caption, m_canvas);
        button->setFont(columnFont);
        button->setToolTip(entry.toolTip);
        button->setAccessibleName(entry.caption);
        m_commands[entry.number] = button;
    }
    for (const ButtonEntry& entry : kHiddenButtons) {
        auto* button = new QPushButton(entry.caption, m_canvas);
        button->setAccessibleName(entry.caption);
        m_commands[entry.number] = button;
    }
    m_commands[15] = new QPushButton(m_canvas);
    m_commands[15]->setIcon(ZoomIcon(false));
    m_commands[15]->setToolTip("Zoom-Out");
    m_commands[15]->setAccessibleName("Zoom-Out");
    m_commands[16] = new QPushButton(m_canvas);
    m_commands[16]->setIcon(ZoomIcon(true));
    m_commands[16]->setToolTip("Zoom-In");
    m_commands[16]->setAccessibleName("Zoom-In");
    m_commands[17] = new QPushButton("FIX", m_canvas);
    m_commands[17]->setToolTip("Fix the Scale");
    m_commands[17]->setAccessibleName("FIX");
    m_commands[30] = new QPushButton(m_canvas);
    m_commands[30]->setIcon(PenColourIcon());
    m_commands[30]->setToolTip("Color to Draw With");
    m_commands[30]->setAccessibleName("Color to Draw With");
    for (int number = 1; number < static_cast<int>(m_commands.size()); ++number) {
        if (m_commands[number]) {
            m_commands[number]->setObjectName(QStringLiteral("Command%1").arg(number));
            m_commands[number]->setIconSize(QSize(24, 24));
        }
    }

    for (const BoxEntry& entry : kLineBoxes) {
        auto* box = new QLineEdit(m_canvas);
        box->setObjectName(QStringLiteral("Text%1").arg(entry.number));
        box->setAccessibleName(entry.accessibleName);
        m_boxes[entry.number] = box;
    }
    m_boxes[1]->setToolTip("Number of Axial Lines");
    m_boxes[1]->setPlaceholderText("Lines");
    m_boxes[2]->setToolTip("Number of Street Intersections");
    m_boxes[2]->setPlaceholderText("Junctions");
    m_boxes[11]->setToolTip("Line Drawing Width");
    for (int number : {1, 2, 9, 10, 11})
        m_boxes[number]->setReadOnly(true);

    for (const BoxEntry& entry : kPanelBoxes) {
        auto* box = new QPlainTextEdit(m_canvas);
        box->setObjectName(QStringLiteral("Text%1").arg(entry.number));
        box->setAccessibleName(entry.accessibleName);
        box->setReadOnly(true);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // Each box is as high as its text, so the panel follows every change of text.
        connect(box, &QPlainTextEdit::textChanged, this, [this] { layOutPanel(); });
        m_panelBoxes[entry.number] = box;
    }

    const char* const labelNames[] = {"", "Message Panel Heading", "Inset Caption", "Snap",
                                      "Threshold Note", "Width Caption"};
    for (int number = 1; number <= 5; ++number) {
        auto* label = new QLabel(m_canvas);
        label->setObjectName(QStringLiteral("Label%1").arg(number));
        label->setAccessibleName(labelNames[number]);
        label->setWordWrap(true);
        m_labels[number] = label;
    }

    const char* const checkCaptions[] = {"", "Switch off Menu Messages?", "Identify Thresholds",
                                         "Snap/Merge Identified Junctions"};
    for (int number = 1; number <= 3; ++number) {
        auto* check = new QCheckBox(checkCaptions[number], m_canvas);
        check->setObjectName(QStringLiteral("Check%1").arg(number));
        check->setAccessibleName(checkCaptions[number]);
        m_checks[number] = check;
    }
    m_checks[1]->setToolTip("Turns Off The Function's Explanation ");

    m_widthScrollBar = new QScrollBar(Qt::Horizontal, m_canvas);
    m_widthScrollBar->setObjectName("HScroll1");
    m_widthScrollBar->setAccessibleName("Line Drawing Width");
    m_widthScrollBar->setToolTip("Line Drawing Width");
    m_widthScrollBar->setRange(1, 20);
    m_widthScrollBar->setPageStep(1);
    m_widthScrollBar->setValue(1);
    // Reached with Tab and moved with the arrow keys, like every other control.
    m_widthScrollBar->setFocusPolicy(Qt::StrongFocus);

    m_progressBar = new QProgressBar(m_canvas);
    m_progressBar->setObjectName("ProgressBar1");
    m_progressBar->setAccessibleName("Progress");
    m_progressBar->setToolTip(
        "This charts the progress of the distance-accessibility-integration calculations");
    m_progressBar->hide();
}

void MainWindow::createMenus() {
    QMenu* file = AddMenu(menuBar(), "mnuFile", "&File");
    AddItem(file, "mnuOpen", "&Open");
    QMenu* save = AddSubmenu(file, "mnuSave", "&Save");
    AddItem(save, "mnuMap", "&MapWindow");
    AddItem(save, "mnuAxial", "&AxialLines");
    AddItem(save, "mnuJunctions", "&Junction-Nodes");
    AddItem(save, "mnuData", "&Data-Matrix");
    QMenu* print = AddSubmenu(file, "mnuPrint", "&Print");
    AddItem(print, "mnuMapWindow", "&MapWindow");
    file->addSeparator();
    AddItem(file, "mnuOpenProject", "Open P&roject\u2026")->setShortcut(QKeySequence::Open);
    AddItem(file, "mnuSaveProject", "Sa&ve Project")->setShortcut(QKeySequence::Save);
    AddItem(file, "mnuSaveProjectAs", "Save Project &As\u2026");
    AddItem(file, "mnuImportLines", "&Import Axial Lines\u2026");
    file->addSeparator();
    AddItem(file, "mnuQuit", "&Quit");

    QMenu* edit = AddMenu(menuBar(), "mnuEdit", "&Edit");
    AddItem(edit, "mnuCopy", "&Copy");
    AddItem(edit, "mnuPaste", "&Paste");
    AddItem(edit, "mnuClear", "&Clear");

    QMenu* view = AddMenu(menuBar(), "mnuView", "&View");
    AddItem(view, "mnuAxials", "&Numbered_Axial_Map");
    AddItem(view, "mnuJunctionMap", "&Numbered_Junction_Map");
    QMenu* statistics = AddSubmenu(view, "mnuStatistics", "&Statistics");
    AddItem(statistics, "mnuAxialMap", "&Axial_Map");

    QMenu* help = AddMenu(menuBar(), "mnuHelp", "&Help");
    AddItem(help, "mnuComing", "&Coming ...");
    AddItem(help, "mnuProgram", "&This Program");
    AddItem(help, "mnuAboutProgram", "&About")->setEnabled(false);
}

void MainWindow::setUpAtStart() {
    m_state.DrawingEnabled = false;
    m_mapWindow->hide();
    m_windows->axialResults.hideSteppingGroups();
    m_windows->junctionResults.hideSteppingGroups();

    layOutAroundMap();
    m_state.MapWidth = static_cast<float>(m_mapWindow->widthUnits());
    m_state.MapHeight = static_cast<float>(m_mapWindow->heightUnits());
    m_state.ZoomFactorX = 1.0f;
    m_state.ZoomFactorY = 1.0f;

    m_boxes[11]->setText("1");
    m_labels[5]->clear();

    for (const ButtonEntry& entry : kHiddenButtons)
        m_commands[entry.number]->hide();
    resetThresholdControls();

    for (int number : {1, 2})
        m_boxes[number]->clear();
    for (int number = 3; number <= 7; ++number)
        m_panelBoxes[number]->clear();
    m_panel->showStartTexts();
    SetInsetCaption(*m_workspace, kInsetCaption, Qt::black);

    m_pictureStore = QImage();
    m_mapWindow->setDrawWidth(1);
    m_state.RadiusN = 0;
    m_state.GraphSpan = 0;
    m_state.IntersectionsComputed = false;
    measureInsetScales();

    for (QWidget* widget :
         {static_cast<QWidget*>(m_labels[4]), static_cast<QWidget*>(m_checks[2])}) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        widget->setPalette(palette);
    }
}

void MainWindow::resetThresholdControls() {
    m_labels[4]->clear();
    m_boxes[10]->setText(" Threshold Value");
    m_labels[3]->setText("SNAP");
    m_checks[2]->setText("Identify Thresholds");
    m_checks[3]->setText("Snap/Merge Identified Junctions");
    m_boxes[8]->setText("1000");
    for (QWidget* widget :
         {static_cast<QWidget*>(m_labels[4]), static_cast<QWidget*>(m_boxes[10]),
          static_cast<QWidget*>(m_labels[3]), static_cast<QWidget*>(m_checks[2]),
          static_cast<QWidget*>(m_checks[3]), static_cast<QWidget*>(m_boxes[8]),
          static_cast<QWidget*>(m_boxes[9])})
        widget->hide();
}

void MainWindow::setScaleControlsVisible(bool visible) {
    for (QWidget* widget :
         {static_cast<QWidget*>(m_commands[15]), static_cast<QWidget*>(m_commands[16]),
          static_cast<QWidget*>(m_commands[17]), static_cast<QWidget*>(m_commands[30]),
          static_cast<QWidget*>(m_labels[5]), static_cast<QWidget*>(m_boxes[11]),
          static_cast<QWidget*>(m_widthScrollBar)})
        widget->setVisible(visible);
}

void MainWindow::layOutAroundMap() {
    Place(*m_mapArea, kMapLeft, kMapTop, kDefaultMapWidth, kDefaultMapHeight);
    // A map of a new size is shown from its top-left corner, where the plan starts.
    m_mapArea->horizontalScrollBar()->setValue(0);
    m_mapArea->verticalScrollBar()->setValue(0);

    // Threshold strip above the map.
    Place(*m_boxes[10], 50, 50, 1700, 400);
    Place(*m_boxes[8], 1800, 50, 700, 400);
    Place(*m_checks[2], 2600, 90, 2000, 250);
    Place(*m_checks[3], 4700, 90, 4000, 250);
    Place(*m_labels[4], 8800, 90, 3000, 250);
    Place(*m_labels[3], 100, 70, 900, 360);

    // Button column.
    double top = kMapTop;
    for (const ButtonEntry& entry : kColumnButtons) {
        Place(*m_commands[entry.number], kColumnLeft, top, kColumnWidth, kButtonHeight);
        top += kButtonHeight + kGap;
    }
    const double half = (kColumnWidth - kGap) / 2;
    Place(*m_boxes[1], kColumnLeft, top, half, 400);
    Place(*m_boxes[2], kColumnLeft + half + kGap, top, half, 400);
    top += 400 + 2 * kGap;

    // Scale and pen controls.
    const double third = (kColumnWidth - 2 * kGap) / 3;
    Place(*m_commands[15], kColumnLeft, top, third, 550);
    Place(*m_commands[16], kColumnLeft + third + kGap, top, third, 550);
    Place(*m_commands[30], kColumnLeft + 2 * (third + kGap), top, third, 550);
    top += 550 + kGap;
    Place(*m_labels[5], kColumnLeft, top, kColumnWidth, 250);
    top += 250;
    Place(*m_boxes[11], kColumnLeft, top, 500, 350);
    Place(*m_widthScrollBar, kColumnLeft + 500 + kGap, top, kColumnWidth - 500 - kGap, 350);
    top += 350 + kGap;
    Place(*m_commands[17], kColumnLeft, top, kColumnWidth, kButtonHeight);
    m_columnBottom = TwipsToPixels(top + kButtonHeight + kGap);

    const double belowMap = kMapTop + kDefaultMapHeight + kGap;
    Place(*m_progressBar, kMapLeft, belowMap, kDefaultMapWidth, 255);
    Place(*m_checks[1], kMapLeft, belowMap + 255 + kGap, 4000, 300);
    m_mapColumnBottom = TwipsToPixels(belowMap + 255 + 300 + 3 * kGap);
    layOutPanel();
}

// The message panel and the inset right of the map area, each box as high as its text.
void MainWindow::layOutPanel() {
    const QRect first = TwipsRect(kMapLeft + kDefaultMapWidth + 2 * kGap, kMapTop, kPanelWidth, 0);
    const int left = first.left();
    const int width = first.width();
    int top = first.top();
    const auto stack = [&](QWidget& widget, int height) {
        widget.setGeometry(left, top, width, height);
        top += height;
    };
    // The captions change without a signal, so they keep room for two lines, the most any has.
    const int captionHeight = 2 * QFontMetrics(m_labels[1]->font()).lineSpacing() + 2;
    stack(*m_labels[1], captionHeight);
    for (int number = 3; number <= 7; ++number)
        stack(*m_panelBoxes[number], FittedHeight(*m_panelBoxes[number], width));
    top += TwipsToPixels(kGap);
    m_insetWindow->move(left, top);
    top += m_insetWindow->height();
    stack(*m_labels[2], captionHeight);

    const int right = left + width + TwipsToPixels(kGap);
    const int bottom = std::max({m_mapColumnBottom, top + TwipsToPixels(kGap), m_columnBottom});
    m_canvas->setFixedSize(right, bottom);
}

// The other windows open over the map, leaving the menus, the buttons and the panel in view.
QRect MainWindow::secondaryWindowRoom() const {
    const QPoint topLeft = m_mapArea->mapToGlobal(QPoint(0, 0));
    const int right = m_labels[1]->mapToGlobal(QPoint(0, 0)).x() - 1;
    const QScreen* shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect available = shownOn ? shownOn->availableGeometry() : QRect(0, 0, 1024, 768);
    return QRect(topLeft, QPoint(right, available.bottom())).intersected(available);
}

void MainWindow::measureInsetScales() {
    m_state.InsetScaleX =
        static_cast<float>(m_insetWindow->widthUnits() / m_mapWindow->widthUnits());
    m_state.InsetScaleY =
        static_cast<float>(m_insetWindow->heightUnits() / m_mapWindow->heightUnits());
}

QPushButton& MainWindow::command(int number) const { return *m_commands.at(number); }
QLineEdit& MainWindow::box(int number) const { return *m_boxes.at(number); }
QLabel& MainWindow::label(int number) const { return *m_labels.at(number); }
QCheckBox& MainWindow::check(int number) const { return *m_checks.at(number); }

QAction& MainWindow::action(const char* objectName) const {
    auto* found = findChild<QAction*>(objectName);
    Q_ASSERT(found);
    return *found;
}

bool MainWindow::menuMessagesOff() const { return m_checks[1]->isChecked(); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!ConfirmReplacingWork(*m_workspace)) {
        event->ignore();
        return;
    }
    m_project->endRun();
    m_windows->closeAll();
    event->accept();
}

} // namespace vantrel

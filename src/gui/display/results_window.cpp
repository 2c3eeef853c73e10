#include "gui/display/results_window.h"

#include "gui/host/arrow_icons.h"
#include "gui/host/menus.h"
#include "gui/host/picture_surface.h"
#include "gui/host/twips.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

namespace vantrel {

namespace {
constexpr double kSurfaceWidth = 6615;
constexpr double kSurfaceHeight = 7815;
constexpr double kProgressHeight = 255;
constexpr double kStepButtonSize = 400;

} // namespace

ResultsWindow::ResultsWindow(ResultsKind kind)
    : MapSurfaceWindow(kind == ResultsKind::Axial ? "Form3" : "Form4",
                       kind == ResultsKind::Axial
                           ? "Accessibility/Integration Values of the Axial Map"
                           : "Accessibility/Integration Values of the Junctions/Nodes",
                       "Results Map"),
      m_kind(kind) {
    createControls();
    createMenus();
    sizeToMap(kSurfaceWidth, kSurfaceHeight);
}

void ResultsWindow::createControls() {

    const char* const accessibleNames[] = {"",        "Radius Up", "Radius Down", "Hide Radius",
                                           "Span Up", "Span Down", "Hide Span"};
    for (int number = 1; number <= 6; ++number) {
        auto* button = new QPushButton(&canvas());
        button->setObjectName(QStringLiteral("Command%1").arg(number));
        button->setAccessibleName(accessibleNames[number]);
        button->hide();
        m_commands[number] = button;
    }
    for (int number : {1, 4}) {
        m_commands[number]->setIcon(ArrowIcon(ArrowDirection::Up));
        m_commands[number]->setToolTip(number == 1 ? "Radius Up" : "Span Up");
    }
    for (int number : {2, 5}) {
        m_commands[number]->setIcon(ArrowIcon(ArrowDirection::Down));
        m_commands[number]->setToolTip(number == 2 ? "Radius Down" : "Span Down");
    }
    connect(m_commands[3], &QPushButton::clicked, this, &ResultsWindow::hideRadiusGroup);
    connect(m_commands[6], &QPushButton::clicked, this, &ResultsWindow::hideSpanGroup);

    for (int number = 1; number <= 2; ++number) {
        auto* caption = new QLabel(&canvas());
        caption->setObjectName(QStringLiteral("Label%1").arg(number));
        caption->setAutoFillBackground(true);
        caption->setStyleSheet("background-color: rgb(224, 224, 224);");
        caption->setAccessibleName(number == 1 ? "Radius" : "Span");
        caption->hide();
        m_labels[number] = caption;
    }
    const char* const boxNames[] = {"", "Radius", "Radius Step", "Span", "Span Step"};
    for (int number = 1; number <= 4; ++number) {
        auto* box = new QLineEdit(&canvas());
        box->setObjectName(QStringLiteral("Text%1").arg(number));
        box->setAccessibleName(boxNames[number]);
        box->setReadOnly(true);
        box->hide();
        m_boxes[number] = box;
    }
    m_boxes[2]->setText("Text2");
    m_boxes[4]->setText("Text4");

    m_progressBar = new QProgressBar(&canvas());
    m_progressBar->setObjectName("ProgressBar1");
    m_progressBar->setAccessibleName("Progress");
    m_progressBar->hide();
}

void ResultsWindow::createMenus() {
    const bool axial = m_kind == ResultsKind::Axial;
    QMenuBar* bar = menuBar();

    QMenu* file = AddMenu(bar, "mnuFile", "&File");
    AddItem(file, "mnuOpen", "&Open");
    QMenu* save = AddSubmenu(file, "mnuSave", "&Save");
    AddItem(save, "mnuMap", "&MapWindow");
    AddItem(save, "mnuAccessData", "&AccessibilityScores");
    AddItem(save, "mnuAllMeasures", "A&ll Measures…");
    QMenu* print = AddSubmenu(file, "mnuPrint", "&Print");
    AddItem(print, "mnuMapWindow", "&MapWindow");

    QMenu* edit = AddMenu(bar, "mnuEdit", "&Edit");
    AddItem(edit, "mnuCopy", "&Copy");
    AddItem(edit, "mnuPaste", "&Paste");
    AddItem(edit, "mnuClear", "&Clear");

    QMenu* maps = AddMenu(bar, "mnuMaps", "&Maps");
    AddItem(maps, "mnuSyntax", "&Syntax_Color_Map");
    AddItem(maps, "mnuRadius3", "&Radius_3_Color_Map");
    AddItem(maps, axial ? "mnuZoomMap" : "mnuZoomRadii", "&Zoom_to_Radii_n_Map");
    AddItem(maps, "mnuDepthMaps", "&Depth_Maps");
    AddItem(maps, "mnuSurface", axial ? "&Smoothed_Surface" : "&Smoothed-Surface");

    QMenu* graphs = AddMenu(bar, "mnuGraphs", "&Graphs");
    if (axial)
        AddItem(graphs, "mnuAxial", "&Axial_Line_Graph");
    else
        AddItem(graphs, "mnuJunction", "&Junction_Graph");

    QMenu* statistics = AddMenu(bar, axial ? "mnuStatistics" : "munStatistics", "&Statistics");
    if (axial)
        AddItem(statistics, "mnuAxGraph", "&Axial_Line_Graph");
    else
        AddItem(statistics, "mnuJGraph", "&Junction_Graph");

    QMenu* about = AddMenu(bar, "mnuAbout", "&About");
    AddItem(about, "mnuInt", "&The_Integration_Maps");
    AddItem(about, "mnuGr", "&The_Integration_Graph");
}

QPushButton& ResultsWindow::command(int number) const {
    return *m_commands.at(number);
}
QLabel& ResultsWindow::label(int number) const {
    return *m_labels.at(number);
}
QLineEdit& ResultsWindow::box(int number) const {
    return *m_boxes.at(number);
}

void ResultsWindow::hideRadiusGroup() {
    for (QWidget* widget :
         {static_cast<QWidget*>(m_commands[1]), static_cast<QWidget*>(m_commands[2]),
          static_cast<QWidget*>(m_labels[1]), static_cast<QWidget*>(m_boxes[1]),
          static_cast<QWidget*>(m_boxes[2])})
        widget->hide();
}

void ResultsWindow::hideSpanGroup() {
    for (QWidget* widget :
         {static_cast<QWidget*>(m_commands[4]), static_cast<QWidget*>(m_commands[5]),
          static_cast<QWidget*>(m_labels[2]), static_cast<QWidget*>(m_boxes[3]),
          static_cast<QWidget*>(m_boxes[4])})
        widget->hide();
}

void ResultsWindow::hideSteppingGroups() {
    hideRadiusGroup();
    hideSpanGroup();
}

void ResultsWindow::layOutGroup(QPushButton& up, QPushButton& down, QLabel& caption,
                                QLineEdit& shown, const QString& captionText) {
    const QRect area = surface().geometry();
    const int size = TwipsToPixels(kStepButtonSize);
    const int gap = TwipsToPixels(100);
    up.setGeometry(area.left(), area.top(), size, size);
    down.setGeometry(up.x() + gap + size, area.top(), size, size);
    // The caption is never narrower than its text, whatever the font.
    const int width =
        std::max(TwipsToPixels(550), caption.fontMetrics().horizontalAdvance(captionText) + 8);
    caption.setGeometry(down.x() + gap + size, area.top(), width,
                        std::max(TwipsToPixels(210), caption.fontMetrics().height() + 2));
    caption.setText(captionText);
    shown.setGeometry(caption.x(), caption.y() + caption.height(), width, TwipsToPixels(210) + 6);
    shown.clear();
    for (QWidget* widget : {static_cast<QWidget*>(&up), static_cast<QWidget*>(&down),
                            static_cast<QWidget*>(&caption), static_cast<QWidget*>(&shown)}) {
        widget->show();
        widget->raise();
    }
}

void ResultsWindow::layOutRadiusGroup() {
    layOutGroup(*m_commands[1], *m_commands[2], *m_labels[1], *m_boxes[1], "Radius");
}

void ResultsWindow::layOutSpanGroup() {
    layOutGroup(*m_commands[4], *m_commands[5], *m_labels[2], *m_boxes[3], "Span");
}

void ResultsWindow::sizeToMap(double widthUnits, double heightUnits) {
    MapSurfaceWindow::sizeToMap(widthUnits, heightUnits);
    const QRect area = surface().geometry();
    m_progressBar->setGeometry(area.left(),
                               area.top() + area.height() - TwipsToPixels(kProgressHeight),
                               area.width(), TwipsToPixels(kProgressHeight));
}

} // namespace vantrel

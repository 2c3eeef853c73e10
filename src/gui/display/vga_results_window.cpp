#include "gui/display/vga_results_window.h"

#include "core/display/colour_scale.h"
#include "core/vga/picture_walls.h"
#include "core/vga/vga_columns.h"
#include "gui/host/menus.h"
#include "gui/host/picture_surface.h"
#include "gui/host/twips.h"
#include "gui/host/window_geometry.h"

#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <limits>

namespace vantrel {

VgaResultsWindow::VgaResultsWindow()
    : MapSurfaceWindow("frmVGA", "Visibility Graph Analysis", "Visibility Graph Map") {
    QMenuBar* bar = menuBar();
    QMenu* file = AddMenu(bar, "mnuFile", "&File");
    QMenu* save = AddSubmenu(file, "mnuSave", "&Save");
    AddItem(save, "mnuMap", "&MapWindow");
    AddItem(save, "mnuPoints", "&Points\u2026");
    QMenu* print = AddSubmenu(file, "mnuPrint", "&Print");
    AddItem(print, "mnuMapWindow", "&MapWindow");
    QMenu* edit = AddMenu(bar, "mnuEdit", "&Edit");
    AddItem(edit, "mnuCopy", "&Copy");

    QToolBar* tools = addToolBar("Measure");
    tools->setObjectName("tbrMeasure");
    tools->setMovable(false);
    auto* caption = new QLabel("Measure: ", tools);
    caption->setObjectName("lblMeasure");
    tools->addWidget(caption);
    m_measures = new QComboBox(tools);
    m_measures->setObjectName("cboMeasure");
    m_measures->setAccessibleName("Measure");
    m_measures->setToolTip("The measure the cells are coloured by");
    m_measures->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    caption->setBuddy(m_measures);
    tools->addWidget(m_measures);
    // In the status bar, where it stays readable however narrow the plan makes the window.
    m_legend = new QLabel(this);
    m_legend->setObjectName("lblRange");
    m_legend->setAccessibleName("Value Range");
    statusBar()->addWidget(m_legend, 1);
    connect(m_measures, &QComboBox::currentTextChanged, this, &VgaResultsWindow::showMeasure);
    sizeToMap(PixelsToTwips(400), PixelsToTwips(300));
}

void VgaResultsWindow::sizeToMap(double widthUnits, double heightUnits) {
    MapSurfaceWindow::sizeToMap(widthUnits, heightUnits);
    // Room for the measure list and the status bar besides what a map window needs.
    const QToolBar& tools = *findChild<QToolBar*>("tbrMeasure");
    ResizeWithinScreen(*this, std::max(width(), tools.sizeHint().width()),
                       height() + tools.sizeHint().height() + statusBar()->sizeHint().height());
}

void VgaResultsWindow::showResults(std::unique_ptr<VgaShown> shown) {
    m_shown = std::move(shown);
    sizeToMap(PixelsToTwips(m_shown->plan.width()), PixelsToTwips(m_shown->plan.height()));
    const QSignalBlocker quiet(m_measures);
    m_measures->clear();
    for (const exports::MeasureColumn& column : m_shown->columns)
        if (column.name != "x" && column.name != "y")
            m_measures->addItem(QString::fromStdString(column.name));
    m_measures->setCurrentText(vga::kStyledColumn);
    showMeasure(vga::kStyledColumn);
}

void VgaResultsWindow::showMeasure(const QString& name) {
    if (!m_shown)
        return;
    for (const exports::MeasureColumn& column : m_shown->columns)
        if (QString::fromStdString(column.name) == name)
            draw(column);
}

// Every cell in the colour of its value's step over the lowest to highest value of the column,
// all red when they are equal (as the program's integration maps do), grey without a value.
void VgaResultsWindow::draw(const exports::MeasureColumn& column) {
    const vga::VgaResult& result = m_shown->result;
    const int count = result.pointCount();
    double lowest = std::numeric_limits<double>::infinity(), highest = -lowest;
    int missing = 0;
    for (int point = 0; point < count; ++point) {
        if (const auto value = column.value(point)) {
            lowest = std::min(lowest, *value);
            highest = std::max(highest, *value);
        } else {
            ++missing;
        }
    }
    QImage image = m_shown->plan.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    const vga::PicturePlacement placement{1.0, image.height()};
    const double spacing = result.grid.spacing();
    for (int point = 0; point < count; ++point) {
        const auto value = column.value(point);
        QColor colour = kNoValueGrey;
        if (value) {
            const double share = highest > lowest ? (*value - lowest) / (highest - lowest) : 1.0;
            const display::Rgb rgb = display::ColourOf(share);
            colour = QColor(rgb.red, rgb.green, rgb.blue);
        }
        const vga::DoublePoint centre = placement.toPicture(result.grid.location(point));
        painter.fillRect(QRectF(centre.x - spacing / 2, centre.y - spacing / 2, spacing, spacing),
                         colour);
    }
    // The walls over the cells, so that the plan stays readable.
    painter.drawImage(0, 0, m_shown->walls);
    painter.end();
    surface().setImage(image);
    const QString name = QString::fromStdString(column.name);
    if (lowest > highest)
        m_legend->setText(name + " has no value at any point (grey)");
    else
        m_legend->setText(QStringLiteral("%1 from %2 (blue) to %3 (red)%4")
                              .arg(name)
                              .arg(lowest, 0, 'g', 6)
                              .arg(highest, 0, 'g', 6)
                              .arg(missing > 0 ? "; grey: no value" : ""));
}

} // namespace vantrel

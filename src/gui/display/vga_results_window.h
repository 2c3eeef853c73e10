// The window of a visibility graph analysis (`frmVGA`): the plan with every point's cell coloured
// by the measure chosen in its list, red (high) to blue (low), and the menus to save the points
// and the picture.
#pragma once

#include "core/export/measure_columns.h"
#include "core/vga/vga_analysis.h"
#include "gui/display/map_surface_window.h"

#include <QImage>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;

namespace vantrel {

// What the window shows: the results, their columns (which refer to them) and the plan as the
// map window showed it, on which the cells lie pixel for pixel, with its walls alone (the dark
// pixels, everything else transparent) to draw over the cells.
struct VgaShown {
    vga::VgaResult result;
    std::vector<exports::MeasureColumn> columns;
    QImage plan;
    QImage walls;
};

class VgaResultsWindow : public MapSurfaceWindow {
    Q_OBJECT
public:
    VgaResultsWindow();

    // `cboMeasure`: every column but x and y.
    QComboBox& measures() const { return *m_measures; }
    // `lblRange`, in the status bar: the measure's lowest and highest values, or why there are
    // none.
    QLabel& legend() const { return *m_legend; }

    // The map window's size, widened for the measure list and heightened for the status bar.
    void sizeToMap(double widthUnits, double heightUnits) override;
    // Takes the results, sizes the window to the plan and shows visual integration [HH].
    void showResults(std::unique_ptr<VgaShown> shown);
    const VgaShown* shown() const { return m_shown.get(); }
    // Colours the cells by the column of this name.
    void showMeasure(const QString& name);

private:
    void draw(const exports::MeasureColumn& column);

    QComboBox* m_measures;
    QLabel* m_legend;
    std::unique_ptr<VgaShown> m_shown;
};

// Cells without a value are drawn in this grey.
inline const QColor kNoValueGrey(192, 192, 192);

} // namespace vantrel

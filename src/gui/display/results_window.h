// The two results windows (`Form3` for the axial lines, `Form4` for the junctions): a map
// surface, menus, and the radius and span stepping groups with their hidden registers.
#pragma once

#include "gui/display/map_surface_window.h"

#include <array>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vantrel {

enum class ResultsKind { Axial, Junction };

class ResultsWindow : public MapSurfaceWindow {
    Q_OBJECT
public:
    explicit ResultsWindow(ResultsKind kind);

    ResultsKind kind() const { return m_kind; }
    // `Command1` .. `Command6`.
    QPushButton& command(int number) const;
    // `Label1` (radius) and `Label2` (span).
    QLabel& label(int number) const;
    // `Text1` .. `Text4`: radius shown, radius step, span shown, span step.
    QLineEdit& box(int number) const;
    QProgressBar& progressBar() const { return *m_progressBar; }

    // `Command3` and `Command6`.
    void hideRadiusGroup();
    void hideSpanGroup();
    void hideSteppingGroups();
    void layOutRadiusGroup();
    void layOutSpanGroup();

    // Also keeps the progress bar along the bottom of the surface.
    void sizeToMap(double widthUnits, double heightUnits) override;

private:
    void createControls();
    void createMenus();
    void layOutGroup(QPushButton& up, QPushButton& down, QLabel& caption, QLineEdit& shown,
                     const QString& captionText);

    ResultsKind m_kind;
    QProgressBar* m_progressBar = nullptr;
    std::array<QPushButton*, 7> m_commands{};
    std::array<QLabel*, 3> m_labels{};
    std::array<QLineEdit*, 5> m_boxes{};
};

} // namespace vantrel

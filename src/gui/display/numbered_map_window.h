// The numbered map windows (`Form5` for the lines, `Form6` for the junctions).
#pragma once

#include <QMainWindow>

class QAction;

namespace vantrel {

class PictureSurface;

enum class NumberedMapKind { Axial, Junction };

class NumberedMapWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit NumberedMapWindow(NumberedMapKind kind);

    NumberedMapKind kind() const { return m_kind; }
    PictureSurface& surface() const { return *m_surface; }
    QAction& action(const char* objectName) const;

    // The surface takes the map window's size and the window grows around it.
    void sizeToMap(double widthUnits, double heightUnits);

private:
    NumberedMapKind m_kind;
    QWidget* m_canvas = nullptr;
    PictureSurface* m_surface = nullptr;
};

} // namespace vantrel

// A window around one black map surface, placed 120 units in from the window's corner, that
// grows with the map it shows. The results and numbered-map windows are such windows.
#pragma once

#include <QMainWindow>

class QAction;

namespace vantrel {

class PictureSurface;

class MapSurfaceWindow : public QMainWindow {
    Q_OBJECT
public:
    PictureSurface& surface() const { return *m_surface; }
    QAction& action(const char* objectName) const;

    // The surface takes the map window's size and a hidden window grows around it; a window on
    // show keeps its size, or shrinks to fit a smaller map.
    virtual void sizeToMap(double widthUnits, double heightUnits);
    // Shown, raised and made the active window, as when it has just drawn a result.
    void bringToFront();

protected:
    MapSurfaceWindow(const char* objectName, const QString& caption,
                     const QString& surfaceAccessibleName);
    // Where the window's other controls are placed, over and beside the surface.
    QWidget& canvas() const { return *m_canvas; }

private:
    QWidget* m_canvas;
    PictureSurface* m_surface;
};

} // namespace vantrel

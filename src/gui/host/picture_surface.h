// A widget that holds everything drawn on it in an image and draws in map units (twips).
#pragma once

#include "core/app/project_state.h"

#include <QColor>
#include <functional>
#include <QImage>
#include <QWidget>

namespace vantrel {

enum class FillStyle { Solid, Transparent };

class PictureSurface : public QWidget {
    Q_OBJECT
public:
    explicit PictureSurface(QWidget* parent = nullptr);

    // Size and position in map units.
    double widthUnits() const;
    double heightUnits() const;
    void resizeUnits(double width, double height);
    void moveUnits(double left, double top);

    // Pen state, kept between drawing calls as the drawing code expects.
    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor& colour) { m_foreColor = colour; }
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor& colour);
    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor& colour) { m_fillColor = colour; }
    FillStyle fillStyle() const { return m_fillStyle; }
    void setFillStyle(FillStyle style) { m_fillStyle = style; }
    DrawMode drawMode() const { return m_drawMode; }
    void setDrawMode(DrawMode mode) { m_drawMode = mode; }
    // Pen width in pixels.
    int drawWidth() const { return m_drawWidth; }
    void setDrawWidth(int pixels) { m_drawWidth = pixels < 1 ? 1 : pixels; }
    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }
    void setCurrentPosition(double x, double y);

    // Empties the picture: every pixel takes the back colour.
    void clear();
    void line(double x1, double y1, double x2, double y2);
    void line(double x1, double y1, double x2, double y2, const QColor& colour);
    // Outline in `colour`; filled with the fill colour when the fill style is solid.
    void box(double x1, double y1, double x2, double y2, const QColor& colour);
    void circle(double centreX, double centreY, double radius, const QColor& outline);
    // Text in the fore colour at the current position, which then moves to the next line.
    void print(const QString& text);
    // Paints `picture` scaled into the rectangle, in map units.
    void paintPicture(const QImage& picture, double x, double y, double width, double height);

    const QImage& image() const { return m_image; }
    // Takes the picture and its size.
    void setImage(const QImage& picture);

signals:
    void pointerDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void pointerMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
    void pointerUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a double-click; Qt would pass it on as a press of its own.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void resizeImage(int widthPixels, int heightPixels);
    void drawWithPen(const QColor& colour, const std::function<void(class QPainter&)>& draw);

    QImage m_image;
    QColor m_foreColor = Qt::black;
    QColor m_backColor = Qt::white;
    QColor m_fillColor = Qt::black;
    FillStyle m_fillStyle = FillStyle::Transparent;
    DrawMode m_drawMode = DrawMode::Copy;
    int m_drawWidth = 1;
    double m_currentX = 0;
    double m_currentY = 0;
};

} // namespace vantrel

#include "gui/host/picture_surface.h"

#include "gui/host/twips.h"

#include <QMouseEvent>
#include <QPainter>

namespace vantrel {

namespace {
QPointF ToPixels(double x, double y) { return {x / kTwipsPerPixel, y / kTwipsPerPixel}; }
} // namespace

PictureSurface::PictureSurface(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resizeImage(1, 1);
}

double PictureSurface::widthUnits() const { return PixelsToTwips(m_image.width()); }
double PictureSurface::heightUnits() const { return PixelsToTwips(m_image.height()); }

void PictureSurface::resizeUnits(double width, double height) {
    resizeImage(TwipsToPixels(width), TwipsToPixels(height));
}

void PictureSurface::moveUnits(double left, double top) {
    move(TwipsToPixels(left), TwipsToPixels(top));
}

void PictureSurface::resizeImage(int widthPixels, int heightPixels) {
    widthPixels = std::max(widthPixels, 1);
    heightPixels = std::max(heightPixels, 1);
    if (m_image.width() != widthPixels || m_image.height() != heightPixels) {
        QImage resized(widthPixels, heightPixels, QImage::Format_RGB32);
        resized.fill(m_backColor);
        if (!m_image.isNull()) {
            QPainter painter(&resized);
            painter.drawImage(0, 0, m_image);
        }
        m_image = std::move(resized);
    }
    setFixedSize(widthPixels, heightPixels);
    update();
}

void PictureSurface::setBackColor(const QColor& colour) { m_backColor = colour; }

void PictureSurface::setCurrentPosition(double x, double y) {
    m_currentX = x;
    m_currentY = y;
}

void PictureSurface::clear() {
    m_image.fill(m_backColor);
    m_currentX = 0;
    m_currentY = 0;
    update();
}

void PictureSurface::drawWithPen(const QColor& colour, const std::function<void(QPainter&)>& draw) {
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (m_drawMode == DrawMode::Invert)
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPen pen(colour, m_drawWidth, Qt::SolidLine, m_drawWidth > 1 ? Qt::RoundCap : Qt::SquareCap,
             Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(m_fillStyle == FillStyle::Solid ? QBrush(m_fillColor) : QBrush(Qt::NoBrush));
    draw(painter);
    update();
}

void PictureSurface::line(double x1, double y1, double x2, double y2) {
    line(x1, y1, x2, y2, m_foreColor);
}

void PictureSurface::line(double x1, double y1, double x2, double y2, const QColor& colour) {
    drawWithPen(colour, [&](QPainter& painter) {
        const QPointF from = ToPixels(x1, y1);
        const QPointF to = ToPixels(x2, y2);
        if (from.toPoint() == to.toPoint() && m_drawWidth == 1)
            painter.drawPoint(from);
        else
            painter.drawLine(from, to);
    });
    m_currentX = x2;
    m_currentY = y2;
}

void PictureSurface::box(double x1, double y1, double x2, double y2, const QColor& colour) {
    drawWithPen(colour, [&](QPainter& painter) {
        painter.drawRect(QRectF(ToPixels(x1, y1), ToPixels(x2, y2)).normalized());
    });
    m_currentX = x2;
    m_currentY = y2;
}

void PictureSurface::circle(double centreX, double centreY, double radius,
                            const QColor& outline) {
    drawWithPen(outline, [&](QPainter& painter) {
        const double r = radius / kTwipsPerPixel;
        painter.drawEllipse(ToPixels(centreX, centreY), r, r);
    });
    m_currentX = centreX;
    m_currentY = centreY;
}

void PictureSurface::print(const QString& text) {
    QPainter painter(&m_image);
    painter.setFont(font());
    painter.setPen(m_foreColor);
    const QFontMetrics metrics(font());
    const QPointF at = ToPixels(m_currentX, m_currentY);
    painter.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
    m_currentX = 0;
    m_currentY += PixelsToTwips(metrics.height());
    update();
}

void PictureSurface::paintPicture(const QImage& picture, double x, double y, double width,
                                  double height) {
    if (picture.isNull())
        return;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(ToPixels(x, y), ToPixels(x + width, y + height)), picture);
    update();
}

void PictureSurface::setImage(const QImage& picture) {
    const QImage converted = picture.convertToFormat(QImage::Format_RGB32);
    m_image = converted;
    setFixedSize(m_image.size());
    update();
}

void PictureSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void PictureSurface::mousePressEvent(QMouseEvent* event) {
    emit pointerDown(event->button(), event->modifiers(), PixelsToTwips(event->position().x()),
                     PixelsToTwips(event->position().y()));
}

void PictureSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void PictureSurface::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMove(event->buttons(), event->modifiers(), PixelsToTwips(event->position().x()),
                     PixelsToTwips(event->position().y()));
}

void PictureSurface::mouseReleaseEvent(QMouseEvent* event) {
    emit pointerUp(event->button(), event->modifiers(), PixelsToTwips(event->position().x()),
                   PixelsToTwips(event->position().y()));
}

} // namespace vantrel

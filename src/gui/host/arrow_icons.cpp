#include "gui/host/arrow_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vantrel {

namespace {
constexpr int kIconSize = 32;

QPixmap BlankPixmap() {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}
} // namespace

QIcon ArrowIcon(ArrowDirection direction) {
    QPixmap pixmap = BlankPixmap();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    if (direction == ArrowDirection::Up) {
        arrow.moveTo(16, 4);
        arrow.lineTo(28, 18);
        arrow.lineTo(20, 18);
        arrow.lineTo(20, 28);
        arrow.lineTo(12, 28);
        arrow.lineTo(12, 18);
        arrow.lineTo(4, 18);
    } else {
        arrow.moveTo(16, 28);
        arrow.lineTo(28, 14);
        arrow.lineTo(20, 14);
        arrow.lineTo(20, 4);
        arrow.lineTo(12, 4);
        arrow.lineTo(12, 14);
        arrow.lineTo(4, 14);
    }
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(20, 60, 120), 1.5));
    painter.setBrush(QColor(60, 130, 210));
    painter.drawPath(arrow);
    return QIcon(pixmap);
}

QIcon ZoomIcon(bool zoomIn) {
    QPixmap pixmap = BlankPixmap();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(20, 20, 29, 29);
    painter.setPen(QPen(QColor(40, 40, 40), 2.5));
    painter.setBrush(QColor(225, 240, 255));
    painter.drawEllipse(QPointF(13, 13), 10, 10);
    painter.setPen(QPen(QColor(20, 20, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(8, 13, 18, 13);
    if (zoomIn)
        painter.drawLine(13, 8, 13, 18);
    return QIcon(pixmap);
}

QIcon PenColourIcon() {
    QPixmap pixmap = BlankPixmap();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor swatches[] = {Qt::red, QColor(255, 200, 0), QColor(0, 170, 0), Qt::blue};
    for (int i = 0; i < 4; ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(swatches[i]);
        painter.drawRect(3 + i * 7, 22, 6, 7);
    }
    painter.setPen(QPen(QColor(50, 50, 50), 1.5));
    painter.setBrush(QColor(250, 220, 120));
    QPainterPath pen;
    pen.moveTo(6, 18);
    pen.lineTo(22, 2);
    pen.lineTo(27, 7);
    pen.lineTo(11, 23);
    pen.lineTo(4, 24);
    pen.closeSubpath();
    painter.drawPath(pen);
    return QIcon(pixmap);
}

} // namespace vantrel

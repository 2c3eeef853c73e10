#include "gui/app/program_window.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace vantrel {

QImage ProgramDiagram(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto at = [&](double x, double y) { return QPointF(x * width, y * height); };

    // Five axial lines coloured from high (red) to low (blue) integration.
    struct Stroke { QPointF from, to; QColor colour; };
    const Stroke strokes[] = {
        {at(0.08, 0.50), at(0.92, 0.50), QColor(255, 0, 0)},
        {at(0.30, 0.12), at(0.30, 0.88), QColor(255, 170, 0)},
        {at(0.70, 0.10), at(0.70, 0.80), QColor(170, 255, 0)},
        {at(0.15, 0.78), at(0.85, 0.70), QColor(0, 255, 170)},
        {at(0.55, 0.20), at(0.90, 0.30), QColor(0, 85, 255)},
    };
    for (const Stroke& stroke : strokes) {
        painter.setPen(QPen(stroke.colour, 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(stroke.from, stroke.to);
    }
    // Junctions where the lines cross.
    const QPointF junctions[] = {at(0.30, 0.50), at(0.70, 0.50), at(0.30, 0.754),
                                 at(0.70, 0.714), at(0.70, 0.243)};
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor(0, 0, 255));
    for (const QPointF& junction : junctions)
        painter.drawEllipse(junction, 7, 7);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, height * 0.9, width, height * 0.1), Qt::AlignCenter,
                     "Axial lines, their junctions, and integration from red to blue");
    return image;
}

ProgramWindow::ProgramWindow() {
    setObjectName("Form2");
    setWindowTitle("This Program");
    setAccessibleName("This Program");
    auto* layout = new QVBoxLayout(this);
    m_picture = new QLabel(this);
    m_picture->setObjectName("Picture1");
    m_picture->setAccessibleName("Picture of the program");
    m_picture->setPixmap(QPixmap::fromImage(ProgramDiagram(420, 320)));
    layout->addWidget(m_picture);
}

} // namespace vantrel

#include "gui/app/splash_window.h"

#include "gui/app/program_window.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vantrel {

namespace {
constexpr int kSplashMilliseconds = 2500;
}

SplashWindow::SplashWindow() {
    setObjectName("frmSplash");
    setWindowTitle("VANTREL");
    setAccessibleName("VANTREL");
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setStyleSheet("background-color: black; color: white;");

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("VANTREL", this);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet("font-size: 28pt; font-weight: bold;");
    auto* subtitle = new QLabel("Generalized Space Syntax  Version 1.02", this);
    subtitle->setAlignment(Qt::AlignCenter);
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(ProgramDiagram(360, 240)));
    picture->setAlignment(Qt::AlignCenter);
    auto* note = new QLabel("Axial lines and junctions: the primal and its dual", this);
    note->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    layout->addWidget(picture);
    layout->addWidget(note);

    m_timer.setObjectName("Timer1");
    m_timer.setSingleShot(true);
    m_timer.setInterval(kSplashMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        close();
        emit finished();
    });
}

} // namespace vantrel

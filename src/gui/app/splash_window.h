// The splash window (`frmSplash`), shown while the main window is prepared.
#pragma once

#include <QTimer>
#include <QWidget>

namespace vantrel {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow();
    // `Timer1`: fires once, 2500 ms after the splash window is shown.
    QTimer& timer() { return m_timer; }

signals:
    void finished();

private:
    QTimer m_timer;
};

} // namespace vantrel

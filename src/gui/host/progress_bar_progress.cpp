#include "gui/host/progress_bar_progress.h"

#include <QProgressBar>

namespace vantrel {

namespace {
// Repainting the bar costs more than a step of most computations, so it moves in about a
// hundred visible steps.
constexpr int kVisibleSteps = 100;
} // namespace

ProgressBarProgress::ProgressBarProgress(QProgressBar& bar, bool visible)
    : m_bar(bar), m_visible(visible) {}

void ProgressBarProgress::start(int totalSteps) {
    m_total = totalSteps;
    m_shown = 0;
    m_bar.setMinimum(1);
    m_bar.setMaximum(totalSteps + 1);
    m_bar.setValue(1);
    if (m_visible) {
        m_bar.show();
        m_bar.raise();
        m_bar.repaint();
    }
}

void ProgressBarProgress::advance(int done) {
    if (m_total > kVisibleSteps && done - m_shown < m_total / kVisibleSteps && done < m_total)
        return;
    m_shown = done;
    m_bar.setValue(1 + done);
    if (m_visible)
        m_bar.repaint();
}

void ProgressBarProgress::finish() {
    m_bar.setValue(m_bar.maximum());
    m_bar.hide();
}

} // namespace vantrel

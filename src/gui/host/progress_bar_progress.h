// Shows a core computation's progress on a window's progress bar.
#pragma once

#include "core/host/progress.h"

class QProgressBar;

namespace vantrel {

class ProgressBarProgress final : public Progress {
public:
    // The bar is only shown when `visible`; it is set up and moved either way.
    ProgressBarProgress(QProgressBar& bar, bool visible);

    void start(int totalSteps) override;
    void advance(int done) override;
    void finish() override;

private:
    QProgressBar& m_bar;
    bool m_visible;
    int m_shown = 0;
    int m_total = 0;
};

} // namespace vantrel

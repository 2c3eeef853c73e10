// How long computations report how far they have got, without knowing who is watching.
#pragma once

namespace vantrel {

class Progress {
public:
    virtual ~Progress() = default;
    // Called once before the work begins, with the number of steps it will take.
    virtual void start(int totalSteps) = 0;
    // Called after each step; `done` counts the steps finished so far.
    virtual void advance(int done) = 0;
    // Called once when the work has finished.
    virtual void finish() = 0;
};

// For callers that do not watch.
class NoProgress final : public Progress {
public:
    void start(int) override {}
    void advance(int) override {}
    void finish() override {}
};

} // namespace vantrel

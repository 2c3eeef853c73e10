// Runs numbered units of work on several threads, reporting progress from the calling thread.
#pragma once

#include "core/analysis/unit_sharing.h"
#include "core/host/progress.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vantrel::analysis {

// Passes on the steps done at most once per percent, so that a large map does not flood the
// watcher.
class ThrottledProgress {
public:
    ThrottledProgress(Progress* progress, int total) : m_progress(progress), m_total(total) {
        if (m_progress) {
            m_progress->start(total);
        }
    }

    void advance(int done) {
        const long long percent = m_total > 0 ? 100LL * done / m_total : 100;
        if (m_progress && percent != m_percent) {
            m_percent = percent;
            m_done = done;
            m_progress->advance(done);
        }
    }

    void finish() {
        if (m_progress) {
            if (m_done != m_total) {
                m_progress->advance(m_total);
            }
            m_progress->finish();
        }
    }

private:
    Progress* m_progress;
    int m_total;
    long long m_percent = -1;
    int m_done = 0;
};

// makeTask() is called once per thread and returns that thread's task; task(unit) is called
// exactly once for each unit 0..count-1, one step of progress each. A task must only write what
// belongs to its unit. The first exception thrown by any thread stops the others and is rethrown
// here. With `sharing`, this process runs only the units handed to it, and the progress counts
// those of every process.
template <class MakeTask>
void RunUnits(int count, int threads, Progress* progress, UnitSharing* sharing,
              const MakeTask& makeTask) {
    ThrottledProgress report(progress, count);
    const int workers = std::clamp(threads, 1, std::max(count, 1));
    const std::unique_ptr<UnitQueue> shared = sharing ? sharing->share(count) : nullptr;
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    // Keeps the shared queue to one thread at a time.
    std::mutex sharedMutex;
    bool stopped = false;
    std::mutex failureMutex;
    std::exception_ptr failure;

    const auto nextUnit = [&] {
        if (!shared)
            return next.fetch_add(1);
        const std::lock_guard lock(sharedMutex);
        const int unit = stopped ? -1 : shared->next(done);
        return unit < 0 ? count : unit;
    };
    const auto finishedSoFar = [&](int finished) {
        if (!shared)
            return finished;
        const std::lock_guard lock(sharedMutex);
        return shared->finishedByAll(finished);
    };

    auto work = [&](bool reporting) {
        try {
            auto task = makeTask();
            for (int unit; (unit = nextUnit()) < count;) {
                task(unit);
                const int finished = done.fetch_add(1) + 1;
                if (reporting) {
                    report.advance(finishedSoFar(finished));
                }
            }
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure) {
                failure = std::current_exception();
            }
            next = count;
            const std::lock_guard sharedLock(sharedMutex);
            stopped = true;
        }
    };

    {
        std::vector<std::jthread> helpers;
        for (int helper = 1; helper < workers; ++helper) {
            helpers.emplace_back(work, false);
        }
        work(true);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (shared) {
        shared->close();
    }
    report.finish();
}

template <class MakeTask>
void RunUnits(int count, int threads, Progress* progress, const MakeTask& makeTask) {
    RunUnits(count, threads, progress, nullptr, makeTask);
}

} // namespace vantrel::analysis

// Ctrl-C and SIGTERM: the batch tool cleans up what it was writing before it ends.
#pragma once

#include <functional>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace vantrel::cli {

// Made first in main, before any other thread, which inherits its blocking of the two signals:
// one thread waits for them, runs the cleanup set at that moment, and then ends the process by
// the same signal, as a shell expects.
class Interruption {
public:
    Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;
    ~Interruption();

    // The cleanup stays set while the returned guard lives.
    class Guard {
    public:
        explicit Guard(Interruption* owner) : m_owner(owner) {}
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
        ~Guard() {
            if (m_owner)
                m_owner->setCleanup({});
        }

    private:
        Interruption* m_owner;
    };
    [[nodiscard]] Guard onInterrupt(std::function<void()> cleanup);

private:
    void setCleanup(std::function<void()> cleanup);
    void wait();

    sigset_t m_signals;
    std::mutex m_mutex;
    std::function<void()> m_cleanup;
    bool m_stopping = false;
    std::thread m_waiter;
};

} // namespace vantrel::cli

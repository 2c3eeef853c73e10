#include "cli/interruption.h"

#include <signal.h>

namespace vantrel::cli {

Interruption::Interruption() {
    sigemptyset(&m_signals);
    sigaddset(&m_signals, SIGINT);
    sigaddset(&m_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &m_signals, nullptr);
    m_waiter = std::thread([this] { wait(); });
}

Interruption::~Interruption() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    pthread_kill(m_waiter.native_handle(), SIGTERM);
    m_waiter.join();
    pthread_sigmask(SIG_UNBLOCK, &m_signals, nullptr);
}

Interruption::Guard Interruption::onInterrupt(std::function<void()> cleanup) {
    setCleanup(std::move(cleanup));
    return Guard(this);
}

void Interruption::setCleanup(std::function<void()> cleanup) {
    const std::lock_guard lock(m_mutex);
    m_cleanup = std::move(cleanup);
}

void Interruption::wait() {
    int signal = 0;
    sigwait(&m_signals, &signal);
    // The lock is kept to the end, so no cleanup can be unset or begun meanwhile.
    m_mutex.lock();
    if (m_stopping) {
        m_mutex.unlock();
        return;
    }
    if (m_cleanup)
        m_cleanup();
    ::signal(signal, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &m_signals, nullptr);
    raise(signal);
}

} // namespace vantrel::cli

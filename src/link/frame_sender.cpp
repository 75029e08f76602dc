#include "link/frame_sender.h"

#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>
#include <cerrno>
#include <ctime>

namespace kx {

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;
constexpr int kRealTimePriority = 10;

void sleepUntil(std::int64_t ns) {
    timespec at{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

}  // namespace

std::int64_t FrameSender::nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
}

FrameSender::FrameSender() : m_thread([this] { run(); }) {}

FrameSender::~FrameSender() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void FrameSender::post(Set set) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(set));
    }
    m_changed.notify_all();
}

void FrameSender::drain() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() || m_stop; });
}

void FrameSender::run() {
    // On a busy machine an ordinary thread wakes milliseconds after its moment. Where the program
    // may (root, or a real-time limit set for the user) this thread, which sleeps all but a few
    // microseconds of every 100 ms, runs before ordinary threads; elsewhere it stays ordinary.
    sched_param priority{};
    priority.sched_priority = kRealTimePriority;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_stop; });
        if (m_stop) return;
        // Only this thread removes sets, and adding them keeps this reference valid.
        const Set& set = m_queue.front();
        lock.unlock();
        sleepUntil(set.dueNs);
        sendSet(set);
        lock.lock();
        m_queue.pop_front();
        m_changed.notify_all();
    }
}

void FrameSender::sendSet(const Set& set) {
    for (std::size_t i = 0; i < set.datagrams.size(); ++i) {
        if (i > 0) {
            // The pause the Controller needs between the parts: until the millisecond clock has
            // moved on by more than one.
            sleepUntil((nowNs() / kNsPerMs + 2) * kNsPerMs);
        }
        const QByteArray& d = set.datagrams[i];
        // A failure is the socket's own business: the interface thread sees it on the socket.
        ::sendto(set.descriptor, d.constData(), static_cast<std::size_t>(d.size()), MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&set.to), sizeof(set.to));
    }
}

}  // namespace kx

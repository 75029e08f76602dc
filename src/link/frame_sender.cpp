#include "link/frame_sender.h"

#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>
#include <cerrno>
#include <chrono>
#include <ctime>

namespace kx {

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;
constexpr int kRealTimePriority = 10;
constexpr std::int64_t kAwakeNs = 500'000;

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

FrameSender::Hold::~Hold() {
    if (!m_sender) return;
    {
        std::lock_guard lock(m_sender->m_mutex);
        m_sender->m_held = false;
    }
    m_sender->m_changed.notify_all();
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

FrameSender::Hold FrameSender::hold() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_queue.empty() && !m_sending) || m_stop; });
    m_held = true;
    return Hold(this);
}

void FrameSender::endBeat() {
    std::lock_guard lock(m_mutex);
    m_beat.reset();
    ++m_beatEnds;
    // Sets handed over before still leave, but none of them starts the beat again.
    for (Set& set : m_queue)
        set.streaming = false;
}

void FrameSender::finish() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (m_queue.empty() && !m_sending) || m_stop; });
    m_beat.reset();
    ++m_beatEnds;
}

int FrameSender::takeCountChange() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_countChange, 0);
}

std::int64_t FrameSender::momentOf(const Set& set) const {
    // A late set whose moment a repeat already took, or one too close behind the last set, takes
    // the next moment of the beat.
    if (set.streaming && m_beat && set.dueNs < m_beatNs + kPeriodNs / 2)
        return m_beatNs + kPeriodNs;
    return set.dueNs;
}

std::int64_t FrameSender::beatMoment(std::int64_t at, std::int64_t now) {
    // Moments long past (a set due long before it came, this thread kept from running) are not
    // made up for in a burst of repeats: the beat goes on from now.
    return now - at > kPeriodNs / 2 ? now : at;
}

void FrameSender::waitUntil(std::unique_lock<std::mutex>& lock, std::int64_t ns) {
    // A sleeping core (a virtual one above all) wakes a fraction of a millisecond late: the last
    // stretch is waited for awake, without the lock, so a set handed over meanwhile is not held up.
    if (ns - nowNs() > kAwakeNs) {
        m_changed.wait_until(
            lock, std::chrono::steady_clock::time_point(std::chrono::nanoseconds(ns - kAwakeNs)));
        return;
    }
    lock.unlock();
    while (nowNs() < ns) {
    }
    lock.lock();
}

void FrameSender::sendUnlocked(std::unique_lock<std::mutex>& lock, const Set& set) {
    m_sending = true;
    lock.unlock();
    sendSet(set);
    lock.lock();
    m_sending = false;
    m_changed.notify_all();
}

void FrameSender::run() {
    // On a busy machine an ordinary thread wakes milliseconds after its moment. Where the program
    // may (root, or a real-time limit set for the user) this thread, which sleeps all but a few
    // microseconds of every 100 ms, runs before ordinary threads; elsewhere it stays ordinary.
    sched_param priority{};
    priority.sched_priority = kRealTimePriority;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (m_held) {
            m_changed.wait(lock);
            continue;
        }
        // A streaming set still waiting for its moment gives way to a newer one: the fixtures
        // show what the view shows now, not a queue of the past.
        while (m_queue.size() >= 2 && m_queue[0].streaming && m_queue[1].streaming) {
            m_queue.pop_front();
            m_countChange -= kParts;
        }
        const std::uint64_t beatEnds = m_beatEnds;
        if (!m_queue.empty()) {
            const std::int64_t at = momentOf(m_queue.front());
            const std::int64_t now = nowNs();
            if (now < at) {
                waitUntil(lock, at);
                continue;
            }
            Set set = std::move(m_queue.front());
            m_queue.pop_front();
            sendUnlocked(lock, set);
            if (beatEnds != m_beatEnds) continue;
            if (set.streaming) {
                m_beat = std::move(set);
                m_beatNs = beatMoment(at, now);
            } else if (m_beat) {
                // A set asked for between two of the beat: a repeat repeats what it showed.
                m_beat = std::move(set);
            }
        } else if (m_beat) {
            const std::int64_t at = m_beatNs + kPeriodNs;
            const std::int64_t now = nowNs();
            if (now < at) {
                waitUntil(lock, at);
                continue;
            }
            const Set again = *m_beat;
            sendUnlocked(lock, again);
            m_beatNs = beatMoment(at, now);
            m_countChange += kParts;
        } else {
            m_changed.wait(lock);
        }
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

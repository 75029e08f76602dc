#pragma once

#include <netinet/in.h>
#include <QByteArray>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

namespace kx {

// Sends the live frame sets from a thread of its own, so that they leave on time whatever the
// interface thread is doing (painting, a save, a long handler). The interface thread still
// composes every set and hands over its three finished datagrams with the moment they are due;
// this thread sends them then, 0x6A, a pause of more than 1 ms, 0x6B, the same pause, 0x6C,
// through the descriptor of the socket the interface thread would have used, so the Controller
// sees the same datagrams from the same port. A set owns its bytes: nothing it sends can change
// after it was handed over.
class FrameSender {
  public:
    struct Set {
        std::array<QByteArray, 3> datagrams;
        int descriptor = -1;
        sockaddr_in to{};
        // CLOCK_MONOTONIC nanoseconds; a set due in the past (or 0) leaves at once.
        std::int64_t dueNs = 0;
    };

    FrameSender();
    ~FrameSender();
    FrameSender(const FrameSender&) = delete;
    FrameSender& operator=(const FrameSender&) = delete;

    // Queues a set behind those handed over before.
    void post(Set set);
    // Returns once every set handed over has been sent: what the interface thread sends next on
    // the same socket then follows them on the wire, and a socket may be closed.
    void drain();

    static std::int64_t nowNs();

  private:
    void run();
    void sendSet(const Set& set);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Set> m_queue;  // the front one stays queued while it is being sent
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace kx

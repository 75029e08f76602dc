#pragma once

#include <netinet/in.h>
#include <QByteArray>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace kx {

// Sends the live frame sets from a thread of its own, so that they leave on time whatever the
// interface thread is doing (painting, a save, a long handler). The interface thread still
// composes every set and hands over its three finished datagrams with the moment they are due;
// this thread sends them then, 0x6A, a pause of more than 1 ms, 0x6B, the same pause, 0x6C,
// through the descriptor of the socket the interface thread would have used, so the Controller
// sees the same datagrams from the same port. A set owns its bytes: nothing it sends can change
// after it was handed over.
//
// A streaming view's sets keep a beat: when the interface thread has not handed over the next
// one by the moment it is due, the last one goes out again then, so the fixtures are refreshed
// every period even while the interface thread is busy. The late set takes the next moment, and
// a newer set handed over before that moment takes its place.
class FrameSender {
  public:
    static constexpr std::int64_t kPeriodNs = 100'000'000;
    static constexpr int kParts = 3;

    struct Set {
        std::array<QByteArray, kParts> datagrams;
        int descriptor = -1;
        sockaddr_in to{};
        // CLOCK_MONOTONIC nanoseconds; a set due in the past (or 0) leaves at once.
        std::int64_t dueNs = 0;
        // Composed by the tick of a view that streams: it keeps the beat.
        bool streaming = false;
    };

    // While it lives, no set leaves: what the interface thread sends meanwhile on the same
    // socket is never cut into by a set.
    class Hold {
      public:
        Hold() = default;
        explicit Hold(FrameSender* sender) : m_sender(sender) {}
        Hold(Hold&& other) noexcept : m_sender(std::exchange(other.m_sender, nullptr)) {}
        Hold& operator=(Hold&&) = delete;
        ~Hold();

      private:
        FrameSender* m_sender = nullptr;
    };

    FrameSender();
    ~FrameSender();
    FrameSender(const FrameSender&) = delete;
    FrameSender& operator=(const FrameSender&) = delete;

    // Queues a set behind those handed over before.
    void post(Set set);
    // Returns once every set handed over has been sent, holding the rest back until the hold
    // ends: what the interface thread sends next on the same socket then follows them on the
    // wire.
    [[nodiscard]] Hold hold();
    // The view stopped streaming or the link stopped sending frames: the last set is not
    // repeated any more.
    void endBeat();
    // Sends every set handed over, ends the beat and returns when nothing is being sent: the
    // socket may then be closed.
    void finish();
    // Datagrams sent by this thread beyond those handed over (repeats) less those handed over
    // and never sent (replaced by a newer set), since the last call.
    int takeCountChange();

    static std::int64_t nowNs();

  private:
    void run();
    // The moment the front set leaves.
    std::int64_t momentOf(const Set& set) const;
    // The moment of the beat a set sent now for the moment at stands for.
    static std::int64_t beatMoment(std::int64_t at, std::int64_t now);
    void waitUntil(std::unique_lock<std::mutex>& lock, std::int64_t ns);
    void sendUnlocked(std::unique_lock<std::mutex>& lock, const Set& set);
    void sendSet(const Set& set);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Set> m_queue;
    std::optional<Set> m_beat;  // the last streaming set sent, while the beat lasts
    std::int64_t m_beatNs = 0;  // the moment it was due
    // Counts the ends of the beat: a set being sent when the beat ended does not start it again.
    std::uint64_t m_beatEnds = 0;
    bool m_sending = false;
    bool m_held = false;
    int m_countChange = 0;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace kx

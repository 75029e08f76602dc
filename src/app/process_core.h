#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace kx {

// The periodic duties of the program, run by elapsed milliseconds from one clock reading per pass:
// tier 1 the shutdown step (2 ms), 2 the drum-beat indicator (10 ms), 3 arrow-key polling (50 ms),
// 4 live output (100 ms), 5 the beat-correspondence warning (250 ms), 6 nothing (500 ms), 7 the
// Controller announce (1000 ms).
struct TierTasks {
    std::function<void()> drumIndicator;
    std::function<void()> arrowKeys;
    std::function<void()> liveOutput;
    std::function<void()> beatWarning;
    std::function<void()> announce;
};

// Whether a tier has something to do now. A tier whose task would find nothing to do need not
// wake the program: the nearest wake-up then comes from the other tiers. Left empty, the tier
// always has work while it has a task.
struct TierWork {
    std::function<bool()> drumIndicator;
    std::function<bool()> arrowKeys;
    std::function<bool()> liveOutput;
    std::function<bool()> beatWarning;
};

// What the counted shutdown does, in its order: step 0 hides the window, sends the leave notice,
// saves, deletes the step clipboard and backs up; step 20 closes the sockets and deletes the
// material clipboard; step 60 ends the process. A failed save the user will not end with cancels
// the shutdown right after it.
struct ShutdownTasks {
    std::function<void()> hideMainWindow;
    std::function<void()> leaveNotice;
    // True when the shutdown goes on. mayAsk is false for a termination request from the system,
    // which must end the program; otherwise a failed save may ask the user, who can choose to
    // stay (false).
    std::function<bool(bool mayAsk)> saveShow;
    std::function<void()> deleteStepClipboard;
    std::function<void()> backupShow;
    std::function<void()> closeSockets;
    std::function<void()> deleteMaterialClipboard;
    std::function<void()> endProcess;
    // When the user chose to stay: undo what step 0 did before the save.
    std::function<void()> showMainWindow;
    std::function<void()> allowReconnect;
};

class ProcessCore {
  public:
    static constexpr int kTierCount = 7;
    // Tier n runs when now - lastRun >= kTierIntervals[n - 1] (tier 1: more than 1 ms).
    static constexpr std::array<std::uint32_t, kTierCount> kTierIntervals{2,   10,  50,  100,
                                                                          250, 500, 1000};
    static_assert(kTierIntervals.back() != 0, "every tier has its interval");
    static constexpr int kOutputTier = 4;
    static constexpr int kStepCloseSockets = 20;
    static constexpr int kStepEnd = 60;

    TierTasks tiers;
    TierWork work;
    ShutdownTasks shutdown;

    // One pass of the main loop at the clock reading now: runs every tier whose interval has
    // elapsed, in order 1 to 7, all tested against the same now. The 32-bit clock may wrap.
    // A tier keeps its phase: a run that came late does not delay the next (its period stays
    // exact on average), unless the tier fell a whole interval behind, when it starts afresh
    // from now rather than catching up.
    void runPass(std::uint32_t now);
    // When tier n's latest run was due by its phase (at most now).
    std::uint32_t dueTime(int tier) const { return m_lastRun[tier - 1]; }
    // Milliseconds from now until the next tier with work falls due; the driver sleeps that long.
    // Tier 1 only counts while closing, since its task does nothing before; tiers without a task,
    // or whose work says there is nothing to do, do not count. -1 once stopped.
    int msUntilNextDue(std::uint32_t now) const;
    static constexpr int kIdleWakeMs = 1000;

    // The main window's close request: starts the shutdown; the close itself is refused.
    void requestClose() { m_closing = true; }
    // A termination request from the system (logout, SIGTERM): the same shutdown, but it ends
    // the program whatever the save does, also when it arrives while the user is being asked.
    void requestTermination() {
        m_closing = true;
        m_terminating = true;
    }

    bool closing() const { return m_closing; }
    bool tasksStopped() const { return m_tasksStopped; }
    int shutdownStep() const { return m_shutdownStep; }
    std::uint32_t now() const { return m_now; }

  private:
    void shutdownStepTask();
    const std::function<void()>* tierTask(int tierIndex) const;
    bool hasWork(int tierIndex) const;
    bool due(int tierIndex, std::uint32_t now) const;

    bool m_closing = false;
    bool m_terminating = false;
    bool m_tasksStopped = false;
    int m_shutdownStep = 0;
    std::uint32_t m_now = 0;
    bool m_started = false;  // before the first pass every tier is due
    std::array<std::uint32_t, kTierCount> m_lastRun{};
};

}  // namespace kx

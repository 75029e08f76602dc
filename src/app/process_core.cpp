#include "app/process_core.h"

#include <algorithm>

namespace kx {

namespace {

void call(const std::function<void()>& task) {
    if (task) task();
}

}  // namespace

bool ProcessCore::due(int tierIndex, std::uint32_t now) const {
    // Unsigned difference: right across a wrap of the counter.
    return !m_started || now - m_lastRun[tierIndex] >= kTierIntervals[tierIndex];
}

const std::function<void()>* ProcessCore::tierTask(int tierIndex) const {
    const std::array<const std::function<void()>*, kTierCount> tasks{
        nullptr, &tiers.drumIndicator, &tiers.arrowKeys, &tiers.liveOutput, &tiers.beatWarning,
        nullptr, &tiers.announce};
    return tasks[tierIndex];
}

bool ProcessCore::hasWork(int tierIndex) const {
    if (tierIndex == 0) return m_closing;
    const auto* task = tierTask(tierIndex);
    if (!task || !*task) return false;
    const std::array<const std::function<bool()>*, kTierCount> checks{
        nullptr, &work.drumIndicator, &work.arrowKeys, &work.liveOutput, &work.beatWarning, nullptr,
        nullptr};
    const auto* check = checks[tierIndex];
    return !check || !*check || (*check)();
}

void ProcessCore::runPass(std::uint32_t now) {
    m_now = now;
    if (m_tasksStopped) return;
    for (int i = 0; i < kTierCount; ++i) {
        if (!due(i, now)) continue;
        const std::uint32_t interval = kTierIntervals[i];
        m_lastRun[i] =
            m_started && now - m_lastRun[i] < 2 * interval ? m_lastRun[i] + interval : now;
        if (i == 0) {
            shutdownStepTask();
            if (m_tasksStopped) return;
        } else if (const auto* task = tierTask(i)) {
            call(*task);
        }
    }
    m_started = true;
}

int ProcessCore::msUntilNextDue(std::uint32_t now) const {
    if (m_tasksStopped) return -1;
    if (!m_started) return 0;
    std::uint32_t wait = UINT32_MAX;
    for (int i = 0; i < kTierCount; ++i) {
        // A tier whose task would do nothing need not wake the program: only its time stamp
        // would change, which nothing reads.
        if (!hasWork(i)) continue;
        const std::uint32_t elapsed = now - m_lastRun[i];
        wait = std::min(wait, elapsed >= kTierIntervals[i] ? 0 : kTierIntervals[i] - elapsed);
    }
    return wait == UINT32_MAX ? kIdleWakeMs : static_cast<int>(wait);
}

void ProcessCore::shutdownStepTask() {
    if (!m_closing) return;
    if (m_shutdownStep == 0) {
        call(shutdown.hideMainWindow);
        call(shutdown.leaveNotice);
        const bool goOn = !shutdown.saveShow || shutdown.saveShow(!m_terminating);
        if (!goOn && !m_terminating) {
            // The show is only in memory now: the program keeps running with it, as before the
            // close, and a later close starts again at step 0.
            m_closing = false;
            call(shutdown.showMainWindow);
            call(shutdown.allowReconnect);
            return;
        }
        call(shutdown.deleteStepClipboard);
        call(shutdown.backupShow);
    } else if (m_shutdownStep == kStepCloseSockets) {
        call(shutdown.closeSockets);
        call(shutdown.deleteMaterialClipboard);
    } else if (m_shutdownStep == kStepEnd) {
        m_tasksStopped = true;
        call(shutdown.endProcess);
        return;
    }
    ++m_shutdownStep;
}

}  // namespace kx

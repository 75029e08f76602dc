#include "app/loop_driver.h"

#include <QAbstractEventDispatcher>

namespace kx {

LoopDriver::LoopDriver(ProcessCore& core, Clock& clock, QObject* parent)
    : QObject(parent), m_core(core), m_clock(clock) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LoopDriver::onTimer);
}

void LoopDriver::start() {
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &LoopDriver::reschedule);
    m_timer.start(0);
}

void LoopDriver::reschedule() {
    if (m_inPass) return;
    const int wait = m_core.msUntilNextDue(m_clock.milliseconds());
    if (wait < 0) {
        m_timer.stop();
    } else if (!m_timer.isActive() || m_timer.remainingTime() > wait) {
        m_timer.start(wait);
    }
}

void LoopDriver::onTimer() {
    // A task that waits handles events, and this timer may not fire into its own pass.
    if (m_inPass) return;
    m_inPass = true;
    m_core.runPass(m_clock.milliseconds());
    m_inPass = false;
    reschedule();
}

}  // namespace kx

#pragma once

#include <QCoreApplication>
#include <QTimer>

namespace kx {

// Handles the calling thread's pending events (those flags lets through); with maxWaitMs > 0 it
// first sleeps until one arrives, at most that long (a timer of this thread ends the sleep), so
// waits do not spin.
inline void processThreadEvents(int maxWaitMs,
                                QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents) {
    if (maxWaitMs <= 0) {
        QCoreApplication::processEvents(flags);
        return;
    }
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(maxWaitMs);
    QCoreApplication::processEvents(flags | QEventLoop::WaitForMoreEvents);
}

}  // namespace kx

#pragma once

#include <QObject>
#include <QTimer>

#include "app/process_core.h"
#include "base/clock.h"

namespace kx {

// Runs the process core's passes from the event loop: one precise single-shot timer set to the
// next tier that falls due, so the idle program sleeps between duties instead of polling every
// millisecond, while every tier keeps its period. Passes run on the clock's milliseconds.
// Before the event loop goes to sleep the next due tier is looked at again, so an event that gave
// an idle tier work (a drum beat, a key held down) wakes it on time without that tier polling.
class LoopDriver : public QObject {
    Q_OBJECT
  public:
    LoopDriver(ProcessCore& core, Clock& clock, QObject* parent = nullptr);
    void start();
    // Call after something that makes an earlier tier due (the close request).
    void reschedule();

  private:
    void onTimer();

    ProcessCore& m_core;
    Clock& m_clock;
    QTimer m_timer;
    bool m_inPass = false;
};

}  // namespace kx

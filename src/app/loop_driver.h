#pragma once

#include <QObject>
#include <QTimer>

#include "app/process_core.h"

namespace kx {

// Runs the process core's passes from the event loop: one precise single-shot timer set to the
// next tier that falls due, so the idle program sleeps between duties instead of polling every
// millisecond, while every tier keeps its period.
class LoopDriver : public QObject {
    Q_OBJECT
  public:
    explicit LoopDriver(ProcessCore& core, QObject* parent = nullptr);
    void start();
    // Call after something that makes an earlier tier due (the close request).
    void reschedule();

  private:
    void onTimer();

    ProcessCore& m_core;
    QTimer m_timer;
    bool m_inPass = false;
};

}  // namespace kx

#pragma once

#include <QElapsedTimer>
#include <QStringList>

#include "base/clock.h"
#include "base/event_pump.h"
#include "base/prompter.h"

namespace kx {

// The platform seams without a display, for one thread: a monotonic clock, an event pump that
// sleeps until the next event of the calling thread, and a prompter that only keeps what it was
// told (nobody is there to answer, so every question is answered No).
class HeadlessPlatform : public Clock, public EventPump, public Prompter {
  public:
    HeadlessPlatform() { m_clock.start(); }

    std::uint32_t milliseconds() override;
    void sleep(int ms) override;
    QDateTime localTime() override;
    void processEvents(int maxWaitMs) override;
    void message(const QString& text) override { messages << text; }
    bool askYesNo(const QString&) override { return false; }
    QString fileDialog(const FileDialog&) override { return {}; }

    QStringList messages;

  private:
    QElapsedTimer m_clock;
};

}  // namespace kx

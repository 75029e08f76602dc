#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <functional>

#include "base/clock.h"
#include "base/event_pump.h"
#include "base/program_folder.h"
#include "base/prompter.h"
#include "base/thread_wait.h"

namespace kx::test {

// A platform with a real clock and real event delivery, for exchanges over loopback sockets.
class LoopbackPlatform : public Clock, public EventPump, public Prompter, public ProgramFolder {
  public:
    LoopbackPlatform() { m_clock.start(); }

    std::uint32_t milliseconds() override { return static_cast<std::uint32_t>(m_clock.elapsed()); }
    void sleep(int ms) override { QThread::msleep(static_cast<unsigned long>(ms < 0 ? 0 : ms)); }
    void processEvents(int maxWaitMs) override { processThreadEvents(maxWaitMs); }
    QDateTime localTime() override { return QDateTime::currentDateTime(); }
    void message(const QString& text) override { messages << text; }
    bool askYesNo(const QString&) override { return false; }
    QString fileDialog(const FileDialog&) override { return {}; }
    QString programDir() const override { return dir.path(); }

    // Handles events until done() holds or timeoutMs have passed; the result of done().
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > timeoutMs) return false;
            processEvents(5);
        }
        return true;
    }
    // Handles events for ms milliseconds.
    void pumpFor(int ms) {
        pumpUntil([] { return false; }, ms);
    }

    QStringList messages;
    QTemporaryDir dir;

  private:
    QElapsedTimer m_clock;
};

}  // namespace kx::test

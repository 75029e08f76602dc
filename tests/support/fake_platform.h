#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <map>

#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/event_pump.h"
#include "base/key_state.h"
#include "base/program_folder.h"
#include "base/prompter.h"

namespace kx::test {

// A scripted platform: a clock the test moves, recorded message boxes, queued dialog answers,
// keys the test presses, and a fresh program directory with the AppSet folders.
class FakePlatform : public Clock,
                     public EventPump,
                     public Prompter,
                     public KeyState,
                     public ProgramFolder {
  public:
    FakePlatform();

    std::uint32_t milliseconds() override { return clock; }
    void sleep(int ms) override { clock += static_cast<std::uint32_t>(ms); }
    // Each call advances the clock by a step, so waits end without a real event loop.
    void processEvents(int maxWaitMs) override;
    QDateTime localTime() override { return time; }
    void message(const QString& text) override { messages << text; }
    bool askYesNo(const QString& text) override;
    QString fileDialog(const FileDialog& dialog) override;
    std::uint16_t asyncKeyState(int virtualKey) override;
    QString programDir() const override { return dir.path(); }

    // A key press seen by the next poll.
    void pressKey(int virtualKey) { keys[virtualKey] = 0x8001; }

    std::uint32_t clock = 1000;
    std::uint32_t eventStepMs = 1;
    // Called on every processEvents, e.g. to deliver a reply while a wait runs.
    std::function<void()> onEvents;
    QDateTime time;
    QStringList messages;
    std::deque<bool> yesNoAnswers;  // empty: answers No
    QStringList questions;
    std::deque<QString> dialogAnswers;  // empty: cancelled
    std::vector<FileDialog> dialogs;
    std::map<int, std::uint16_t> keys;
    QTemporaryDir dir;
};

// A FakePlatform for one test.
class FakePlatformTest : public ::testing::Test {
  protected:
    FakePlatform fake;
};

}  // namespace kx::test

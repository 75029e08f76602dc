#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include "app/loop_driver.h"
#include "app/process_core.h"
#include "app/single_instance.h"
#include "app/startup_checks.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

// Records which tier tasks and shutdown operations ran, in order.
struct Recorder {
    QStringList log;
    ProcessCore core;

    Recorder() {
        auto note = [this](const char* what) { return [this, what] { log << what; }; };
        core.tiers = {note("t2"), note("t3"), note("t4"), note("t5"), note("t7")};
        core.shutdown = {note("hide"),
                         note("leave"),
                         [this](bool) {
                             log << "save";
                             return true;
                         },
                         note("delStep"),
                         note("backup"),
                         note("closeSockets"),
                         note("delMaterial"),
                         note("end"),
                         note("show"),
                         note("reconnect")};
    }
    QStringList take() {
        QStringList l = log;
        log.clear();
        return l;
    }
};

TEST(ProcessCore, EveryTierRunsOnTheFirstPassThenByItsInterval) {
    Recorder r;
    r.core.runPass(123456);
    EXPECT_EQ(r.take(), (QStringList{"t2", "t3", "t4", "t5", "t7"}));
    r.core.runPass(123456 + 9);
    EXPECT_TRUE(r.take().isEmpty());
    r.core.runPass(123456 + 10);
    EXPECT_EQ(r.take(), QStringList{"t2"});
    r.core.runPass(123456 + 100);
    EXPECT_EQ(r.take(), (QStringList{"t2", "t3", "t4"}));
    r.core.runPass(123456 + 1000);
    EXPECT_EQ(r.take(), (QStringList{"t2", "t3", "t4", "t5", "t7"}));
}

TEST(ProcessCore, FirstPassRunsEveryTierWhateverTheClockReads) {
    for (std::uint32_t start : {0u, 1u, 0x80000000u, 0xFFFFFFFFu}) {
        Recorder r;
        r.core.runPass(start);
        EXPECT_EQ(r.take().size(), 5) << start;
    }
}

TEST(ProcessCore, AClockWrapStallsNoTier) {
    Recorder r;
    std::uint32_t now = 0xFFFFFF00u;
    r.core.runPass(now);
    r.take();
    int announces = 0;
    int outputs = 0;
    for (int i = 0; i < 3000; ++i) {  // 3 s in 1 ms passes, across the wrap
        ++now;
        r.core.runPass(now);
        for (const QString& t : r.take()) {
            announces += t == "t7";
            outputs += t == "t4";
        }
    }
    EXPECT_EQ(announces, 3);
    EXPECT_EQ(outputs, 30);
}

TEST(ProcessCore, NextDueIsTheNearestTierAndIgnoresTierOneUntilClosing) {
    Recorder r;
    EXPECT_EQ(r.core.msUntilNextDue(500), 0);
    r.core.runPass(500);
    EXPECT_EQ(r.core.msUntilNextDue(500), 10);
    EXPECT_EQ(r.core.msUntilNextDue(507), 3);
    EXPECT_EQ(r.core.msUntilNextDue(530), 0);
    r.core.requestClose();
    EXPECT_EQ(r.core.msUntilNextDue(500), 2);
}

TEST(ProcessCore, TiersWithoutATaskDoNotWakeTheProgram) {
    ProcessCore core;
    int outputs = 0;
    core.tiers.liveOutput = [&] { ++outputs; };
    core.runPass(0);
    EXPECT_EQ(core.msUntilNextDue(0), 100);  // not 10: the 10 ms tier has nothing to do
    EXPECT_EQ(core.msUntilNextDue(60), 40);
    core.requestClose();
    EXPECT_EQ(core.msUntilNextDue(0), 2);
}

// An idle program sleeps until the output tick: the drum indicator, key polling and the beat
// warning wake it only while they have something to do, and then on their own period; with no
// frames to send nor anything to show, the output tick sleeps too, until the announce.
TEST(ProcessCore, TiersWithNothingToDoDoNotWakeTheProgramUntilTheyHave) {
    Recorder r;
    bool drum = false;
    bool keys = false;
    bool output = true;
    bool warning = false;
    r.core.work = {.drumIndicator = [&] { return drum; },
                   .arrowKeys = [&] { return keys; },
                   .liveOutput = [&] { return output; },
                   .beatWarning = [&] { return warning; }};
    r.core.runPass(1000);
    r.take();
    EXPECT_EQ(r.core.msUntilNextDue(1000), 100);
    EXPECT_EQ(r.core.msUntilNextDue(1040), 60);

    drum = true;  // a drum beat clicked 40 ms after the pass: the flash starts at once
    EXPECT_EQ(r.core.msUntilNextDue(1040), 0);
    r.core.runPass(1040);
    EXPECT_EQ(r.take(), QStringList{"t2"});
    EXPECT_EQ(r.core.msUntilNextDue(1040), 10);
    drum = false;
    EXPECT_EQ(r.core.msUntilNextDue(1040), 60);

    keys = true;
    EXPECT_EQ(r.core.msUntilNextDue(1040), 10);  // the key tier last ran at 1000: due at 1050
    keys = false;
    warning = true;
    EXPECT_EQ(r.core.msUntilNextDue(1040), 60);  // output at 1100 comes before 1250
    EXPECT_EQ(r.core.msUntilNextDue(1100), 0);
    r.core.runPass(1100);
    EXPECT_EQ(r.take(), (QStringList{"t2", "t3", "t4"}));
    EXPECT_EQ(r.core.msUntilNextDue(1100), 100);  // the warning's 1250 comes after 1200
    r.core.runPass(1200);
    r.take();
    EXPECT_EQ(r.core.msUntilNextDue(1200), 50);
    warning = false;
    EXPECT_EQ(r.core.msUntilNextDue(1200), 100);

    // A due tier still runs in a pass the others started, work or not: its task decides.
    r.core.runPass(1300);
    EXPECT_EQ(r.take(), (QStringList{"t2", "t3", "t4", "t5"}));
    EXPECT_EQ(r.core.msUntilNextDue(1300), 100);

    output = false;
    EXPECT_EQ(r.core.msUntilNextDue(1300), 700);  // the announce, last run at 1000
    output = true;                                // connected, say: the tick comes at once
    EXPECT_EQ(r.core.msUntilNextDue(1450), 0);

    // Closing wakes tier 1 whatever the others say.
    r.core.requestClose();
    EXPECT_EQ(r.core.msUntilNextDue(1300), 2);
}

// The output tick keeps its phase, so frame sets can be sent on an exact 100 ms grid: a late pass
// does not delay the next tick, and only a tick a whole interval behind starts a new phase.
TEST(ProcessCore, ALatePassKeepsTheTiersPhaseUntilAWholeIntervalIsLost) {
    ProcessCore core;
    int outputs = 0;
    core.tiers.liveOutput = [&] { ++outputs; };
    core.runPass(1000);
    core.runPass(1103);  // three milliseconds late
    EXPECT_EQ(outputs, 2);
    EXPECT_EQ(core.dueTime(ProcessCore::kOutputTier), 1100u);
    EXPECT_EQ(core.msUntilNextDue(1103), 97);
    core.runPass(1200);
    EXPECT_EQ(core.dueTime(ProcessCore::kOutputTier), 1200u);
    core.runPass(1420);  // 120 ms behind: the phase starts afresh from now, nothing is caught up
    EXPECT_EQ(outputs, 4);
    EXPECT_EQ(core.dueTime(ProcessCore::kOutputTier), 1420u);
    EXPECT_EQ(core.msUntilNextDue(1420), 100);
    for (std::uint32_t t = 1421; t <= 1520; ++t)
        core.runPass(t);
    EXPECT_EQ(outputs, 5);
    EXPECT_EQ(core.dueTime(ProcessCore::kOutputTier), 1520u);
}

TEST(ProcessCore, ShutdownSavesBeforeClosingSocketsAndEndsAtStepSixty) {
    Recorder r;
    std::uint32_t now = 10;
    r.core.runPass(now);
    r.take();
    r.core.requestClose();
    QStringList shutdownLog;
    int passes = 0;
    while (!r.core.tasksStopped() && passes < 10000) {
        now += 1;
        r.core.runPass(now);
        for (const QString& t : r.take()) {
            if (!t.startsWith('t')) shutdownLog << t;
        }
        ++passes;
        if (passes == 7) r.core.requestClose();  // a second close changes nothing
    }
    EXPECT_EQ(shutdownLog, (QStringList{"hide", "leave", "save", "delStep", "backup",
                                        "closeSockets", "delMaterial", "end"}));
    // Tier 1 runs every 2 ms: step 20 about 40 ms after the save, step 60 about 120 ms after.
    EXPECT_GE(passes, 120);
    EXPECT_LE(passes, 124);

    r.core.runPass(now + 5000);
    EXPECT_TRUE(r.take().isEmpty());  // stopped: no tier runs any more
    EXPECT_EQ(r.core.msUntilNextDue(now), -1);
}

TEST(ProcessCore, NothingShutsDownWithoutACloseRequest) {
    Recorder r;
    for (std::uint32_t now = 0; now < 2000; now += 2)
        r.core.runPass(now);
    for (const QString& t : r.take())
        EXPECT_TRUE(t.startsWith('t')) << t.toStdString();
    EXPECT_EQ(r.core.shutdownStep(), 0);
}

class LoopDriverTest : public test::FakePlatformTest {};

// The question after a failed save runs its own event loop; a second close handled there must not
// start another pass, which would run step 0 again.
TEST_F(LoopDriverTest, ClosingAgainWhileStepZeroWaitsRunsItOnce) {
    ProcessCore core;
    LoopDriver driver(core, fake);
    int steps = 0;
    int shown = 0;
    core.shutdown.hideMainWindow = [&] { ++steps; };
    core.shutdown.showMainWindow = [&] { ++shown; };
    bool asking = false;
    core.shutdown.saveShow = [&](bool) {
        // The user's clicks while the question is open; a pass started in here only counts.
        if (!asking) {
            asking = true;
            for (int i = 0; i < 20; ++i) {
                fake.clock += 5;
                core.requestClose();
                driver.reschedule();
                QCoreApplication::processEvents();
            }
            asking = false;
        }
        return false;  // stay
    };
    core.requestClose();
    driver.start();
    for (int i = 0; i < 1000 && shown == 0; ++i) {
        fake.clock += 1;
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(core.closing());
}

// The driver looks again before the event loop sleeps: work an event gave an idle tier runs then,
// not at the next output tick.
TEST_F(LoopDriverTest, WorkAnEventGivesAnIdleTierRunsBeforeTheLoopSleeps) {
    ProcessCore core;
    LoopDriver driver(core, fake);
    int flashes = 0;
    bool drum = false;
    core.tiers.drumIndicator = [&] { flashes += drum ? 1 : 0; };
    core.tiers.announce = [] {};  // the only other wake-up: a second away
    core.work.drumIndicator = [&] { return drum; };
    driver.start();
    QCoreApplication::processEvents();
    fake.clock += 20;
    QCoreApplication::processEvents();
    EXPECT_EQ(flashes, 0);

    QTimer::singleShot(0, [&] { drum = true; });
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);  // far before the announce
    loop.exec();
    EXPECT_GE(flashes, 1);
}

class SingleInstanceTest : public test::FakePlatformTest {};

TEST_F(SingleInstanceTest, ASecondCopyIsRefusedWithItsMessageAndTheFirstKeepsItsLock) {
    SingleInstance first(fake.dir.path());
    EXPECT_FALSE(refuseSecondCopy(first, fake));
    EXPECT_TRUE(fake.messages.isEmpty());

    SingleInstance second(fake.dir.path());
    EXPECT_TRUE(refuseSecondCopy(second, fake));
    EXPECT_EQ(fake.messages, QStringList{"程序已经打开，不能重复开启！"});
    EXPECT_FALSE(refuseSecondCopy(first, fake));  // unaffected

    SingleInstance elsewhere(fake.dir.path() + "/AppSet");
    EXPECT_FALSE(refuseSecondCopy(elsewhere, fake));
}

}  // namespace
}  // namespace kx

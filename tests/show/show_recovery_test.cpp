#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <functional>

#include "base/file_io.h"
#include "materials/material_bank_file.h"
#include "show/effect_images.h"
#include "show/show_recovery.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

// One run of the program on a program directory: its show, Show File and recovery.
struct ProgramRun {
    ProgramRun(test::FakePlatform& fake, const AppPaths& paths)
        : images(show, paths),
          recovery(show, images, paths, fake),
          file(makeShowFile(show, images, paths, {fake, fake},
                            {[this] { recovery.loaded(); }, {}, [this] { recovery.saved(); }})) {}

    Show show;
    EffectImages images;
    ShowRecovery recovery;
    ShowFile file;
};

class ShowRecoveryTest : public test::FakePlatformTest {
  protected:
    // Makes the recovery file look written after the Show File, as after a crash.
    void ageShowFile() {
        QFile show(paths.showFile);
        if (!show.exists()) return;
        ASSERT_TRUE(show.open(QIODevice::ReadWrite));
        show.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                         QFileDevice::FileModificationTime);
    }
    bool recoveryExists() const { return fileExists(paths.recoveryFile); }
    // A check running beside the test, waited for (at most 20 s).
    static bool eventually(const std::function<bool()>& done) {
        for (int i = 0; i < 2000 && !done(); ++i)
            QThread::msleep(10);
        return done();
    }

    AppPaths paths = AppPaths::under(fake.programDir());
};

TEST_F(ShowRecoveryTest, KeepsTheShowOnlyWhileItDiffersFromTheShowFile) {
    ProgramRun run(fake, paths);
    ASSERT_TRUE(run.file.saveShow(fake));
    EXPECT_FALSE(run.recovery.keepIfChanged());
    EXPECT_FALSE(recoveryExists());

    setSceneName(run.show.scenes, 4, "动感");
    EXPECT_TRUE(run.recovery.keepIfChanged());
    ASSERT_TRUE(recoveryExists());
    // Idle: nothing new, nothing written.
    EXPECT_FALSE(run.recovery.keepIfChanged());
    // A later edit is kept again; taking everything back leaves nothing to recover.
    setSceneName(run.show.scenes, 5, "柔和");
    EXPECT_TRUE(run.recovery.keepIfChanged());
    setSceneName(run.show.scenes, 4, "");
    setSceneName(run.show.scenes, 5, "");
    EXPECT_FALSE(run.recovery.keepIfChanged());
    EXPECT_FALSE(recoveryExists());

    setSceneName(run.show.scenes, 4, "动感");
    EXPECT_TRUE(run.recovery.keepIfChanged());
    ASSERT_TRUE(run.file.saveShow(fake));
    EXPECT_FALSE(recoveryExists());
    // The Show File was written only by the save.
    EXPECT_EQ(readWholeFile(paths.showFile).value_or(QByteArray()).isEmpty(), false);
}

TEST_F(ShowRecoveryTest, ChecksEveryThirtySecondsAndLeavesTheLiveShowAlone) {
    ProgramRun run(fake, paths);
    run.recovery.loaded();
    run.recovery.tick();
    Fixture& f = run.show.library.at(0, 1);
    f.startAddress = 1;
    f.channelCount = 4;
    f.functions[9] = 22;  // above the count: kept in memory until the technician saves
    run.recovery.touched();
    fake.clock += kRecoveryIntervalMs - 1;
    run.recovery.tick();
    EXPECT_FALSE(recoveryExists());
    fake.clock += 1;
    run.recovery.tick();
    // The check runs beside the loop on a copy: the live show goes on being edited meanwhile.
    f.channelCount = 6;
    EXPECT_TRUE(eventually([&] {
        run.recovery.tick();
        return recoveryExists();
    }));
    EXPECT_EQ(run.show.library.at(0, 1).functions[9], 22);

    // A save while a check runs: the check finishes first, so it cannot leave a file behind.
    f.channelCount = 7;
    run.recovery.touched();
    fake.clock += kRecoveryIntervalMs;
    run.recovery.tick();
    ASSERT_TRUE(run.file.saveShow(fake));
    EXPECT_FALSE(recoveryExists());
    run.recovery.tick();
    EXPECT_FALSE(recoveryExists());
}

TEST_F(ShowRecoveryTest, AShowNobodyTouchedIsNotLookedAt) {
    ProgramRun run(fake, paths);
    run.recovery.loaded();
    EXPECT_FALSE(run.recovery.keepIfChanged());
    setSceneName(run.show.scenes, 4, "动感");
    fake.clock += 2 * kRecoveryIntervalMs;
    run.recovery.tick();
    EXPECT_FALSE(recoveryExists());
    // The first touch after a long quiet time is checked at once.
    run.recovery.touched();
    run.recovery.tick();
    EXPECT_TRUE(eventually([&] {
        run.recovery.tick();
        return recoveryExists();
    }));
}

// Right after a load the digest of the loaded show is still being made beside the loop: what
// happens meanwhile is measured against the show as loaded, not against the edits.
TEST_F(ShowRecoveryTest, EditsRightAfterALoadAreKeptAndTakingThemBackLeavesNothing) {
    {
        ProgramRun saved(fake, paths);
        setSceneName(saved.show.scenes, 3, "原样");
        ASSERT_TRUE(saved.file.saveShow(fake));
    }
    {
        ProgramRun run(fake, paths);
        ASSERT_EQ(run.file.loadShow(fake), LoadResult::Loaded);
        EXPECT_FALSE(run.recovery.keepIfChanged());
        setSceneName(run.show.scenes, 3, "改过");
        EXPECT_TRUE(run.recovery.keepIfChanged());
        setSceneName(run.show.scenes, 3, "原样");
        EXPECT_FALSE(run.recovery.keepIfChanged());
        EXPECT_FALSE(recoveryExists());
    }
    // The same through the main loop's checks, the first one started at once after the load.
    ProgramRun run(fake, paths);
    ASSERT_EQ(run.file.loadShow(fake), LoadResult::Loaded);
    setSceneName(run.show.scenes, 3, "改过");
    run.recovery.tick();
    EXPECT_TRUE(eventually([&] {
        run.recovery.tick();
        return recoveryExists();
    }));
    setSceneName(run.show.scenes, 3, "原样");
    run.recovery.touched();
    fake.clock += kRecoveryIntervalMs;
    run.recovery.tick();
    EXPECT_TRUE(eventually([&] {
        run.recovery.tick();
        return !recoveryExists();
    }));
    // A load, at once an edit, at once a save: the save is what counts.
    ASSERT_EQ(run.file.loadShow(fake), LoadResult::Loaded);
    setSceneName(run.show.scenes, 3, "再改");
    ASSERT_TRUE(run.file.saveShow(fake));
    EXPECT_FALSE(run.recovery.keepIfChanged());
    EXPECT_FALSE(recoveryExists());
}

TEST_F(ShowRecoveryTest, TheCheckStoresNothingButTheRecoveryFile) {
    QDir().mkpath(paths.scTemp);
    ProgramRun run(fake, paths);
    MaterialBank bank;
    Material& m = bank.at(1, 1);
    m.setFixtureCount(1);
    m.setChannelCount(1);
    m.setStepCount(1);
    run.show.library.at(0, 1).channelCount = 1;
    m.setMapped(1, 0, 1, true);
    ASSERT_TRUE(saveEffectImage(run.images, 2, bank, run.show.library));
    {
        QFile image(paths.effectImage(2));
        ASSERT_TRUE(image.open(QIODevice::ReadWrite));
        image.setFileTime(QDateTime::currentDateTime().addSecs(-600),
                          QFileDevice::FileModificationTime);
    }
    const QDateTime written = QFileInfo(paths.effectImage(2)).lastModified();
    run.recovery.saved();
    setSceneName(run.show.scenes, 2, "派对");
    EXPECT_TRUE(run.recovery.keepIfChanged());
    EXPECT_EQ(QFileInfo(paths.effectImage(2)).lastModified(), written);
}

TEST_F(ShowRecoveryTest, AfterACrashYesRestoresTheEditsAndNoDropsThem) {
    {
        ProgramRun crashed(fake, paths);
        ASSERT_TRUE(crashed.file.saveShow(fake));
        setSceneName(crashed.show.scenes, 7, "演唱会");
        crashed.show.library.at(1, 9).name = "摇头灯";
        ASSERT_TRUE(crashed.recovery.keepIfChanged());
    }
    ageShowFile();
    const QByteArray showFile = readWholeFile(paths.showFile).value_or(QByteArray());
    {
        ProgramRun next(fake, paths);
        next.file.loadShow(fake);
        fake.yesNoAnswers = {true};
        EXPECT_TRUE(next.recovery.offerRestore(next.file, fake));
        EXPECT_EQ(fake.questions.last(), kAskRecover);
        EXPECT_EQ(next.show.scenes.at(7).name, "演唱会");
        EXPECT_EQ(next.show.library.at(1, 9).name, "摇头灯");
        // Still unsaved: the recovery file stays, the Show File is as it was.
        EXPECT_TRUE(recoveryExists());
        EXPECT_EQ(readWholeFile(paths.showFile), showFile);
        EXPECT_FALSE(next.recovery.keepIfChanged());
    }
    {
        ProgramRun again(fake, paths);
        again.file.loadShow(fake);
        fake.yesNoAnswers = {false};
        EXPECT_FALSE(again.recovery.offerRestore(again.file, fake));
        EXPECT_FALSE(recoveryExists());
        EXPECT_EQ(again.show.scenes.at(7).name, "");
        EXPECT_EQ(readWholeFile(paths.showFile), showFile);
    }
}

TEST_F(ShowRecoveryTest, AnOlderOrDamagedRecoveryFileIsNeverLoaded) {
    ProgramRun run(fake, paths);
    ASSERT_TRUE(writeWholeFile(paths.recoveryFile, "old"));
    ASSERT_TRUE(run.file.saveShow(fake));  // the save removes it
    ASSERT_TRUE(writeWholeFile(paths.recoveryFile, QByteArray::fromHex("F10410A1") + "garbage"));
    ageShowFile();
    setSceneName(run.show.scenes, 2, "保留");
    fake.yesNoAnswers = {true};
    EXPECT_FALSE(run.recovery.offerRestore(run.file, fake));
    EXPECT_EQ(fake.messages.last(), kMsgRecoveryDamaged);
    EXPECT_EQ(run.show.scenes.at(2).name, "保留");
    EXPECT_FALSE(recoveryExists());
    EXPECT_TRUE(fileExists(paths.backupDir + "/S7420--[260307-090504] 恢复文件已损坏.K74"));

    // Written before the Show File's last save: the Show File is newer, no question.
    ASSERT_TRUE(writeWholeFile(paths.recoveryFile, "stale"));
    QFile stale(paths.recoveryFile);
    ASSERT_TRUE(stale.open(QIODevice::ReadWrite));
    stale.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                      QFileDevice::FileModificationTime);
    stale.close();
    const int asked = static_cast<int>(fake.questions.size());
    EXPECT_FALSE(run.recovery.offerRestore(run.file, fake));
    EXPECT_EQ(fake.questions.size(), asked);
    EXPECT_FALSE(recoveryExists());
}

}  // namespace
}  // namespace kx

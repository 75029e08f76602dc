#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>

#include "app/process_core.h"
#include "app/shutdown_save.h"
#include "base/file_io.h"
#include "show/effect_images.h"
#include "show/show.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

// The counted shutdown wired to a real Show File the way the program wires it; the Show File's
// path is made a folder, so its save fails until the test removes the folder.
class ShutdownSaveTest : public test::FakePlatformTest {
  protected:
    AppPaths paths = AppPaths::under(fake.programDir());
    Show show;
    EffectImages images{show, paths};
    ShowFile file = makeShowFile(show, images, paths, {fake, fake});
    ProcessCore core;
    QStringList log;
    std::uint32_t now = 100;
    const QString backupOnClose = paths.backupDir + "/S7420--[260307-090504] 关闭程序.K74";

    void SetUp() override {
        auto note = [this](const char* what) { return [this, what] { log << what; }; };
        ShutdownTasks& s = core.shutdown;
        s.hideMainWindow = note("hide");
        s.leaveNotice = note("leave");
        s.saveShow = [this](bool mayAsk) { return saveBeforeEnd(file, fake, mayAsk); };
        s.deleteStepClipboard = note("delStep");
        s.backupShow = [this] {
            log << "backup";
            file.backupShow(fake, "关闭程序");
        };
        s.closeSockets = note("closeSockets");
        s.deleteMaterialClipboard = note("delMaterial");
        s.endProcess = note("end");
        s.showMainWindow = note("show");
        s.allowReconnect = note("reconnect");
        setSceneName(show.scenes, 5, "改过的场景");
        ASSERT_TRUE(QDir().mkpath(paths.showFile));
    }
    // Passes 1 ms apart, as many as a whole shutdown takes and more.
    void run() {
        for (int i = 0; i < 200 && !core.tasksStopped(); ++i)
            core.runPass(now++);
    }
    const QStringList wholeShutdown{"hide",         "leave",       "delStep", "backup",
                                    "closeSockets", "delMaterial", "end"};
};

TEST_F(ShutdownSaveTest, NoAfterAFailedSaveKeepsTheProgramAndItsShow) {
    core.requestClose();
    run();
    EXPECT_EQ(fake.questions, QStringList{"SHOW 文件保存失败！！！ 仍然退出吗？"});
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_EQ(log, (QStringList{"hide", "leave", "show", "reconnect"}));
    EXPECT_FALSE(core.closing());
    EXPECT_FALSE(core.tasksStopped());
    EXPECT_EQ(core.shutdownStep(), 0);
    EXPECT_EQ(show.scenes.at(5).name, "改过的场景");
    EXPECT_FALSE(fileExists(backupOnClose));

    // Once the file can be written, the next close ends the program with the edit saved.
    ASSERT_TRUE(QDir(paths.showFile).removeRecursively());
    log.clear();
    core.requestClose();
    run();
    EXPECT_EQ(log, wholeShutdown);
    EXPECT_TRUE(core.tasksStopped());
    EXPECT_EQ(fake.questions.size(), 1);
    Show back;
    EffectImages backImages{back, paths};
    ShowFile reader = makeShowFile(back, backImages, paths, {fake, fake});
    ASSERT_EQ(reader.loadShow(fake), LoadResult::Loaded);
    EXPECT_EQ(back.scenes.at(5).name, "改过的场景");
    EXPECT_EQ(readWholeFile(backupOnClose), readWholeFile(paths.showFile));
}

TEST_F(ShutdownSaveTest, YesEndsWithoutTheShow) {
    fake.yesNoAnswers.push_back(true);
    core.requestClose();
    run();
    EXPECT_EQ(fake.questions, QStringList{"SHOW 文件保存失败！！！ 仍然退出吗？"});
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_EQ(log, wholeShutdown);
    EXPECT_TRUE(core.tasksStopped());
}

TEST_F(ShutdownSaveTest, ATerminationRequestEndsWithoutAsking) {
    core.requestTermination();
    run();
    EXPECT_TRUE(fake.questions.isEmpty());
    EXPECT_EQ(fake.messages, QStringList{kMsgSaveFailed});
    EXPECT_EQ(log, wholeShutdown);

    // One that arrives while the user is being asked ends the program whatever the answer.
    ProcessCore asked;
    asked.shutdown.saveShow = [&](bool mayAsk) {
        const bool goOn = saveBeforeEnd(file, fake, mayAsk);
        asked.requestTermination();
        return goOn;
    };
    bool ended = false;
    asked.shutdown.endProcess = [&] { ended = true; };
    asked.requestClose();
    for (std::uint32_t t = 0; t < 200 && !asked.tasksStopped(); ++t)
        asked.runPass(t);
    EXPECT_EQ(fake.questions, QStringList{"SHOW 文件保存失败！！！ 仍然退出吗？"});
    EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace kx

#include <gtest/gtest.h>

#include "base/settings.h"
#include "transfer/show_download.h"
#include "transfer_fixture.h"

namespace kx::test {
namespace {

class ShowDownloadTest : public TransferFixture {
  protected:
    void SetUp() override {
        TransferFixture::SetUp();
        paths = AppPaths::under(platform.dir.path());
        ShowDownload::Hooks hooks;
        hooks.saveShow = [this] {
            ++saves;
            if (!saveWorks) return false;
            writeToolFile("S7420.K74", show);
            return true;
        };
        hooks.currentScene = [] { return 12; };
        hooks.setButtonEnabled = [this](bool on) { buttonStates.push_back(on); };
        hooks.showSceneOption = [this](bool on) { sceneOptionShown = on; };
        download = std::make_unique<ShowDownload>(*transfer, paths, hooks);
    }

    AppPaths paths;
    QByteArray show = sampleFile(6000, 21);
    bool saveWorks = true;
    int saves = 0;
    std::vector<bool> buttonStates;
    bool sceneOptionShown = false;
    std::unique_ptr<ShowDownload> download;
};

TEST_F(ShowDownloadTest, OpeningWhileNotConnectedSendsNothing) {
    download->Fun_窗体载入(log);
    EXPECT_EQ(log.text(), "未连接");
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(sceneOptionShown);
    platform.pumpFor(50);
    EXPECT_EQ(sim->commandCount(0xD0), 0);
}

TEST_F(ShowDownloadTest, OpeningSavesAndDownloadsTheShow) {
    connectLink();
    download->Fun_窗体载入(log);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(buttonStates, (std::vector<bool>{false, true}));
    EXPECT_TRUE(log.text().startsWith("->下载灯光文件 \r\n->文件:" + paths.showFile));
    EXPECT_TRUE(log.text().endsWith("->校验成功\r\n->下载成功\r\n"));
    EXPECT_EQ(storedOnController(FileType::Show), show);
    // Unticked options: still connected, ten zero verification bytes.
    EXPECT_TRUE(link->connected());
    EXPECT_EQ(sim->commands(0xD2).at(0).body, QByteArray::fromHex("D200000000000000000000"));
}

TEST_F(ShowDownloadTest, OptionsAreStoredAndReadBack) {
    download->setDisconnectAfterDownload(true);
    download->setSwitchToLastScene(true);
    EXPECT_EQ(Fun_IniRead(paths.workSet, "下载完之后自动断开连接"), "1");
    EXPECT_EQ(Fun_IniRead(paths.workSet, "下载完自动切最后编辑场景"), "1");
    download->setSwitchToLastScene(false);
    EXPECT_EQ(Fun_IniRead(paths.workSet, "下载完自动切最后编辑场景"), "0");

    ShowDownload fresh(*transfer, paths, {});
    fresh.Fun_窗体载入(log);
    EXPECT_TRUE(fresh.disconnectAfterDownload());
    EXPECT_FALSE(fresh.switchToLastScene());
}

TEST_F(ShowDownloadTest, VerifiedDownloadReleasesTheControllerWhenAsked) {
    download->setDisconnectAfterDownload(true);
    download->setSwitchToLastScene(true);
    connectLink();
    download->Fun_下载灯光参数(log);
    EXPECT_TRUE(log.text().endsWith("->下载成功\r\n"));
    EXPECT_FALSE(link->connected());
    EXPECT_FALSE(link->connected());
    platform.pumpUntil([&] { return sim->commandCount(0xC4) > 0; });
    EXPECT_EQ(sim->commandCount(0xC4), 1);
    EXPECT_EQ(sim->commands(0xD2).at(0).body, QByteArray::fromHex("D2880C0000000000000000"));
}

TEST_F(ShowDownloadTest, FailedVerificationKeepsTheConnection) {
    download->setDisconnectAfterDownload(true);
    connectLink();
    sim->transfer().faults.failVerify = true;
    download->Fun_下载灯光参数(log);
    EXPECT_TRUE(log.text().endsWith("->校验失败\r\n"));
    EXPECT_TRUE(link->connected());
    platform.pumpFor(30);
    EXPECT_EQ(sim->commandCount(0xC4), 0);
}

TEST_F(ShowDownloadTest, FailedSaveSendsNoOlderShow) {
    download->setDisconnectAfterDownload(true);
    connectLink();
    download->Fun_下载灯光参数(log);  // a verified download first
    ASSERT_FALSE(link->connected());
    connectLink();
    saveWorks = false;
    const int starts = sim->commandCount(0xD0);
    download->Fun_下载灯光参数(log);
    EXPECT_EQ(log.text(), "->下载灯光文件 \r\n->文件保存失败\r\n");
    EXPECT_EQ(sim->commandCount(0xD0), starts);
    EXPECT_TRUE(link->connected());
    EXPECT_EQ(buttonStates.back(), true);
}

}  // namespace
}  // namespace kx::test

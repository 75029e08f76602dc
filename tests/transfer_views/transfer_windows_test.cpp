#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "base/settings.h"
#include "transfer/device_files_window.h"
#include "transfer/show_download_window.h"
#include "transfer/transfer_fixture.h"

namespace kx::test {
namespace {

class ShowDownloadWindowTest : public TransferFixture {
  protected:
    void SetUp() override {
        TransferFixture::SetUp();
        paths = AppPaths::under(platform.dir.path());
        window = std::make_unique<ShowDownloadWindow>(
            *transfer, paths,
            [this] {
                writeToolFile("S7420.K74", show);
                return true;
            },
            [] { return 5; });
    }
    AppPaths paths;
    QByteArray show = sampleFile(4000, 60);
    std::unique_ptr<ShowDownloadWindow> window;
};

TEST_F(ShowDownloadWindowTest, OpensWithStoredOptionsAndDownloads) {
    Fun_IniWrite(paths.workSet, "下载完自动切最后编辑场景", "1");
    window->Fun_窗体载入();
    EXPECT_EQ(window->Text信息->toPlainText(), "未连接");
    EXPECT_FALSE(window->Check下载完断开连接->isChecked());
    EXPECT_TRUE(window->Check下载完自动切最后编辑场景->isChecked());
    EXPECT_FALSE(window->Check下载完自动切最后编辑场景->isHidden());

    window->Check下载完断开连接->click();
    EXPECT_EQ(Fun_IniRead(paths.workSet, "下载完之后自动断开连接"), "1");

    connectLink();
    window->Command下载_灯光参数->click();
    EXPECT_TRUE(window->Text信息->toPlainText().endsWith("->校验成功\n->下载成功\n"));
    EXPECT_TRUE(window->Command下载_灯光参数->isEnabled());
    EXPECT_FALSE(link->connected());  // released after the verified download
    EXPECT_EQ(storedOnController(FileType::Show), show);
    EXPECT_EQ(sim->transfer().switchedScene(), 5);
}

TEST_F(ShowDownloadWindowTest, ProgressBarMovesAndIsFullOnlyAfterTheVerification) {
    show = sampleFile(120000, 61);
    window->Fun_窗体载入();
    connectLink();
    struct Seen {
        int value;
        int blocksAccepted;
        int verifications;
    };
    std::vector<Seen> seen;
    QObject::connect(window->progress->Progress传输, &QProgressBar::valueChanged, [&](int value) {
        seen.push_back({value, sim->transfer().blocksAccepted(), sim->transfer().verifications()});
    });
    window->Command下载_灯光参数->click();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().value, 100);
    EXPECT_EQ(window->progress->Label传输进度->text().left(2), "完成");
    const int blocks = transfer->progress().blocksTotal;
    EXPECT_GE(blocks, 118);
    EXPECT_TRUE(window->progress->Label传输进度->text().contains(
        QStringLiteral("%1/%1 块  117.2K/117.2K").arg(blocks)));
    // It moved while the blocks went out, and was full only once the Controller had verified.
    const auto moving = std::count_if(seen.begin(), seen.end(), [&](const Seen& s) {
        return s.value > 0 && s.value < 100 && s.blocksAccepted < blocks;
    });
    EXPECT_GT(moving, 20);
    for (const Seen& s : seen) {
        if (s.value == 100) {
            EXPECT_EQ(s.verifications, 1);
        }
    }

    sim->transfer().faults.failVerify = true;
    ASSERT_TRUE(link->connected());
    window->Command下载_灯光参数->click();
    EXPECT_EQ(window->progress->Progress传输->value(), 99);
    EXPECT_EQ(window->progress->Label传输进度->text().left(2), "失败");
}

class DeviceFilesWindowTest : public TransferFixture {
  protected:
    void SetUp() override {
        TransferFixture::SetUp();
        paths = AppPaths::under(platform.dir.path());
        DeviceFiles::Hooks hooks;
        hooks.developerMode = [this] { return developer; };
        hooks.enterDeveloperMode = [this] { developer = true; };
        window = std::make_unique<DeviceFilesWindow>(*transfer, paths,
                                                     FileDialogs{platform, platform}, hooks);
        link->addReplyHandler([this](std::uint8_t code, std::span<const std::uint8_t> data) {
            window->core().Fun_接收版本号(code, data);
        });
    }
    void type(const QString& text) {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(window->Text信息, &press);
        }
    }
    AppPaths paths;
    bool developer = false;
    std::unique_ptr<DeviceFilesWindow> window;
};

TEST_F(DeviceFilesWindowTest, TypedVersionCommandIsSentOnceAfterTheLastKey) {
    window->Fun_窗体载入();
    EXPECT_TRUE(window->Text文件->isReadOnly());
    EXPECT_TRUE(window->Command读取电脑信息->isHidden());
    type("@版本号");
    EXPECT_EQ(window->Text信息->toPlainText(), "@版本号");
    EXPECT_EQ(sim->commandCount(0xCE, 0x21), 0);
    ASSERT_TRUE(platform.pumpUntil([&] { return sim->commandCount(0xCE, 0x21) > 0; }));
    ASSERT_TRUE(
        platform.pumpUntil([&] { return window->Text信息->toPlainText().contains("机器版本号"); }));
    platform.pumpFor(150);
    EXPECT_EQ(sim->commandCount(0xCE, 0x21), 1);
    EXPECT_EQ(window->Text信息->toPlainText(), "@版本号  OK 机器版本号= KX-7420 SIM V14.2\n");
}

TEST_F(DeviceFilesWindowTest, DeveloperEntryShowsTheInformationButton) {
    window->Fun_窗体载入();
    type("@调试入口");
    ASSERT_TRUE(platform.pumpUntil([&] { return developer; }));
    EXPECT_FALSE(window->Command读取电脑信息->isHidden());
    EXPECT_EQ(platform.messages, QStringList{"开发模式！"});
}

TEST_F(DeviceFilesWindowTest, UploadButtonsNeedTheConnection) {
    window->Fun_窗体载入();
    window->Command上传灯光参数文件->click();
    EXPECT_EQ(window->Text信息->toPlainText(), "未连接");
    EXPECT_TRUE(window->Command上传灯光参数文件->isEnabled());
}

}  // namespace
}  // namespace kx::test

#include <gtest/gtest.h>

#include "base/settings.h"
#include "transfer/device_files.h"
#include "transfer_fixture.h"

namespace kx::test {
namespace {

class DeviceFilesTest : public TransferFixture {
  protected:
    void SetUp() override {
        TransferFixture::SetUp();
        paths = AppPaths::under(platform.dir.path());
        DeviceFiles::Hooks hooks;
        hooks.developerMode = [this] { return developer; };
        hooks.enterDeveloperMode = [this] { developer = true; };
        hooks.showLogo = [this](bool on) { logoShown = on; };
        hooks.setFirmwarePath = [this](const QString& p) { pathBox = p; };
        hooks.showComputerInfoButton = [this](bool on) { infoButton = on; };
        device = std::make_unique<DeviceFiles>(*transfer, paths, log,
                                               FileDialogs{platform, platform}, hooks);
        // As the program wires the window: it takes the replies after the transfer's store.
        link->addReplyHandler([this](std::uint8_t code, std::span<const std::uint8_t> data) {
            device->Fun_接收版本号(code, data);
        });
    }

    QByteArray firmware(int size, int signatureAt) {
        QByteArray image = sampleFile(size, 31);
        image.replace(signatureAt, 12, "Vorn KX-7420");
        return image;
    }

    AppPaths paths;
    bool developer = false;
    bool logoShown = false;
    bool infoButton = false;
    QString pathBox = "untouched";
    std::unique_ptr<DeviceFiles> device;
};

TEST_F(DeviceFilesTest, ParameterFilesGoDownAndComeBack) {
    connectLink();
    struct Case {
        const DeviceFileKind& kind;
        const char* expectedUpload;
    } cases[] = {{wallPanelFile(), "R-QB.KQB"},
                 {vodFile(), "R-VOD.KVD"},
                 {airConditionerFile(), "R-IRAC.AC"}};
    unsigned seed = 40;
    for (const Case& c : cases) {
        const QByteArray file = sampleFile(2500, seed++);
        platform.dialogAnswers.push_back(writeToolFile("pick." + c.kind.extension, file));
        device->downloadDeviceFile(c.kind);
        EXPECT_TRUE(log.text().startsWith("->读取 " + c.kind.label + "参数文件 \r\n->下载 " +
                                          c.kind.label + "参数文件 \r\n->文件:"));
        EXPECT_EQ(platform.dialogs.back().title, "导入" + c.kind.label + "参数文件");
        EXPECT_EQ(platform.dialogs.back().pattern, "*." + c.kind.extension);
        EXPECT_EQ(storedOnController(c.kind.fileType), file);

        device->uploadDeviceFile(c.kind);
        EXPECT_TRUE(log.text().startsWith(c.kind.uploadHeader + "\r\n->准备上传\r\n"));
        EXPECT_EQ(readFile(paths.inProgramDir(c.expectedUpload)), file);
    }
    EXPECT_EQ(airConditionerFile().uploadHeader, "->上传 VOD 红外空调参数文件 ");
}

TEST_F(DeviceFilesTest, ShowUploadLandsBesideTheProgram) {
    connectLink();
    const QByteArray show = sampleFile(4000, 50);
    transfer->downloadFile(FileType::Show, writeToolFile("s.K74", show), log);
    device->uploadDeviceFile(showUploadFile());
    EXPECT_TRUE(log.text().startsWith("->上传 灯光 参数文件 \r\n"));
    EXPECT_EQ(readFile(platform.dir.filePath("R-S7420.K74")), show);
}

TEST_F(DeviceFilesTest, TransfersNeedTheConnectionExceptFirmware) {
    device->downloadDeviceFile(vodFile());
    EXPECT_EQ(log.text(), "未连接");
    device->uploadDeviceFile(wallPanelFile());
    EXPECT_EQ(log.text(), "未连接");
    EXPECT_TRUE(platform.dialogs.empty());

    const QString fw = writeToolFile("fw.bin", firmware(4000, 2000));
    platform.dialogAnswers.push_back(fw);
    device->chooseFirmwareFile();
    EXPECT_EQ(pathBox, fw);
    device->downloadFirmware();
    EXPECT_TRUE(
        log.text().startsWith("->读取 升级Mcu程序 文件 \r\n->下载 升级Mcu程序参数文件 \r\n"));
    EXPECT_TRUE(log.text().endsWith("->下载成功\r\n"));
    EXPECT_EQ(storedOnController(FileType::Firmware), readFile(fw));
}

TEST_F(DeviceFilesTest, CancelledChoiceIsAFileError) {
    connectLink();
    device->downloadDeviceFile(wallPanelFile());
    EXPECT_EQ(log.text(), "->读取 墙板参数文件 \r\n->文件错误 \r\n");
    EXPECT_EQ(platform.messages, QStringList{"读取失败"});
}

TEST_F(DeviceFilesTest, FirmwareIsCheckedBeforeAnythingIsSent) {
    // 999 bytes with the signature at 0, then the signature 999 bytes before the end.
    device->chooseFirmwareFile();  // cancelled: nothing changes
    EXPECT_EQ(pathBox, "untouched");
    for (const QByteArray& image : {firmware(999, 0), firmware(3000, 2001)}) {
        platform.dialogAnswers.push_back(writeToolFile("bad.bin", image));
        device->chooseFirmwareFile();
        device->downloadFirmware();
        EXPECT_EQ(log.text(), "->读取 升级Mcu程序 文件 \r\n->文件格式错误 \r\n");
    }
    EXPECT_EQ(sim->datagramCount(), 0);

    QFile::remove(platform.dir.filePath("bad.bin"));
    device->downloadFirmware();
    EXPECT_EQ(log.text(), "->读取 升级Mcu程序 文件 \r\n->文件错误 \r\n");
}

TEST_F(DeviceFilesTest, FirmwarePathIsRememberedAndChecked) {
    const QString fw = writeToolFile("fw.bin", firmware(3000, 2000));
    platform.dialogAnswers.push_back(fw);
    device->chooseFirmwareFile();
    EXPECT_EQ(Fun_IniRead(paths.workSet, "升级文件路径"), fw);
    EXPECT_EQ(platform.dialogs.back().pattern, "*.bin");

    log.append("old");
    device->Fun_窗体载入();
    EXPECT_EQ(pathBox, fw);
    EXPECT_EQ(log.text(), "");
    EXPECT_FALSE(infoButton);

    // An empty file chosen later is refused and clears the box.
    platform.dialogAnswers.push_back(writeToolFile("empty.bin", {}));
    device->chooseFirmwareFile();
    EXPECT_EQ(pathBox, "");
    EXPECT_EQ(log.text(), "文件不存在！！！\r\n");
    EXPECT_EQ(Fun_IniRead(paths.workSet, "升级文件路径"), fw);
}

TEST_F(DeviceFilesTest, QueriesShowTheControllersAnswers) {
    connectLink();
    device->Fun_请求版本号();
    ASSERT_TRUE(platform.pumpUntil([&] { return log.text().contains("机器版本号"); }));
    EXPECT_EQ(log.text(), "  OK 机器版本号= KX-7420 SIM V14.2\r\n");
    EXPECT_EQ(sim->commands(0xCE, 0x21).at(0).body, QByteArray::fromHex("CE21"));

    log.clear();
    device->requestComputerInfo();
    ASSERT_TRUE(platform.pumpUntil([&] { return log.text().contains("没有"); }));
    EXPECT_EQ(log.text(), "\r\n没有\r\n");

    log.clear();
    device->requestFileIds();
    ASSERT_TRUE(platform.pumpUntil([&] { return !log.text().isEmpty(); }));
    EXPECT_EQ(log.text(), "  OK 墙板文件不存在  VOD文件不存在  \r\n");
}

TEST_F(DeviceFilesTest, TypedCommands) {
    connectLink();
    device->runTypedCommand("@版本号");
    ASSERT_TRUE(platform.pumpUntil([&] { return log.text().contains("机器版本号"); }));

    log.clear();
    device->runTypedCommand("@logo");
    EXPECT_TRUE(logoShown);
    EXPECT_EQ(log.text(), "  OK L_logo显示=1");
    device->runTypedCommand("@logo");
    EXPECT_FALSE(logoShown);
    EXPECT_EQ(Fun_IniRead(paths.workSet, "LoSet"), "0");

    device->runTypedCommand("@调试入口");
    EXPECT_TRUE(developer);
    EXPECT_TRUE(infoButton);
    EXPECT_EQ(platform.messages, QStringList{"开发模式！"});

    const int before = sim->commandCount(0xCE, 0x26);
    device->runTypedCommand("@系统信息");
    device->runTypedCommand("@系统");
    platform.pumpUntil([&] { return sim->commandCount(0xCE, 0x26) > before; });
    platform.pumpFor(20);
    EXPECT_EQ(sim->commandCount(0xCE, 0x26), before + 1);
}

}  // namespace
}  // namespace kx::test

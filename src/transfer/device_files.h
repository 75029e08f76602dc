#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <span>

#include "base/dialogs.h"
#include "base/paths.h"
#include "transfer/device_format.h"
#include "transfer/file_transfer.h"

namespace kx {

inline const QString kKeyFirmwarePath = QStringLiteral("升级文件路径");
inline const QString kKeyLogo = QStringLiteral("LoSet");

// What the device files and firmware window does: the Controller's parameter files both ways,
// the upload of its show, the firmware download, the three queries and the typed commands.
class DeviceFiles {
  public:
    struct Hooks {
        // Developer mode of this run (also on from the developer settings).
        std::function<bool()> developerMode;
        // "@调试入口": developer mode on until the program ends; the title bar's developer
        // button appears.
        std::function<void()> enterDeveloperMode;
        // The title-bar logo shown or hidden.
        std::function<void(bool)> showLogo;
        // The read-only path box Text文件.
        std::function<void(const QString&)> setFirmwarePath;
        // Command读取电脑信息 visible.
        std::function<void(bool)> showComputerInfoButton;
    };

    // Shows the Controller's answers to the queries in log, for its whole lifetime, also when
    // nobody asked. Files are chosen, and messages shown, through dialogs.
    DeviceFiles(FileTransfer& transfer, AppPaths paths, LogBox& log, FileDialogs dialogs,
                Hooks hooks);
    DeviceFiles(const DeviceFiles&) = delete;
    DeviceFiles& operator=(const DeviceFiles&) = delete;

    // Opening the window (the live output has been told its view already).
    void Fun_窗体载入();

    // Downloads of file types 2-4 (asking for the file) and 5 (the firmware in the path box).
    void Fun_下载文件_通用(FileType type, const QString& label, const QString& extension);
    void downloadDeviceFile(const DeviceFileKind& kind);
    void downloadFirmware();
    void Fun_上传文件_通用(const QString& destination, FileType type, const QString& header);
    void uploadDeviceFile(const DeviceFileKind& kind);

    bool Fun_判断升级文件是否正确(const QString& path);
    bool Fun_文件检查(const QString& path);
    // Command文件: choose the firmware file.
    void chooseFirmwareFile();
    const QString& firmwarePath() const { return m_firmwarePath; }

    // The queries 0xCE 0x21, 0x26, 0x31, and the display of their answers.
    void Fun_请求版本号();
    void requestComputerInfo();
    void requestFileIds();
    void Fun_接收版本号(std::uint8_t code, std::span<const std::uint8_t> data);

    // The log box's text, 100 ms after the last key.
    void runTypedCommand(const QString& text);

  private:
    void setFirmwarePath(const QString& path);
    void query(std::uint8_t subCommand);
    void toggleLogo();

    FileTransfer& m_transfer;
    AppPaths m_paths;
    LogBox& m_log;
    FileDialogs m_dialogs;
    Hooks m_hooks;
    QString m_firmwarePath;
};

}  // namespace kx

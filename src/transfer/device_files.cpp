#include "transfer/device_files.h"

#include "base/file_io.h"
#include "base/settings.h"
#include "storage/record_io.h"

namespace kx {

namespace dl = device_log;

DeviceFiles::DeviceFiles(FileTransfer& transfer, AppPaths paths, LogBox& log, FileDialogs dialogs,
                         Hooks hooks)
    : m_transfer(transfer),
      m_paths(std::move(paths)),
      m_log(log),
      m_dialogs(dialogs),
      m_hooks(std::move(hooks)) {}

void DeviceFiles::Fun_窗体载入() {
    setFirmwarePath(Fun_IniRead(m_paths.workSet, kKeyFirmwarePath));
    Fun_文件检查(m_firmwarePath);
    m_log.clear();
    if (m_hooks.developerMode && m_hooks.developerMode() && m_hooks.showComputerInfoButton) {
        m_hooks.showComputerInfoButton(true);
    }
}

void DeviceFiles::setFirmwarePath(const QString& path) {
    m_firmwarePath = path;
    if (m_hooks.setFirmwarePath) m_hooks.setFirmwarePath(path);
}

void DeviceFiles::Fun_下载文件_通用(FileType type, const QString& label, const QString& extension) {
    if (type == FileType::Firmware) {
        m_log.clear();
        appendLog(m_log, "->读取 " + label + " 文件 ");
        const QString path = m_firmwarePath;
        if (path.isEmpty() || !fileExists(path)) {
            appendLog(m_log, dl::kFileError);
            return;
        }
        if (!Fun_判断升级文件是否正确(path)) {
            appendLog(m_log, dl::kFirmwareFormat);
            return;
        }
        appendLog(m_log, "->下载 " + label + "参数文件 ");
        m_transfer.downloadFile(type, path, m_log);
        return;
    }
    if (!m_transfer.checkConnectedForTransfer(m_log)) return;
    m_log.clear();
    appendLog(m_log, "->读取 " + label + "参数文件 ");
    const PathChoice choice = Fun_AskOpenPath(m_dialogs, "导入" + label + "参数文件", extension);
    if (!choice.chosen()) {
        m_dialogs.prompter.message(choice.message);
        appendLog(m_log, dl::kFileError);
        return;
    }
    appendLog(m_log, "->下载 " + label + "参数文件 ");
    m_transfer.downloadFile(type, choice.path, m_log);
}

void DeviceFiles::downloadDeviceFile(const DeviceFileKind& kind) {
    Fun_下载文件_通用(kind.fileType, kind.label, kind.extension);
}

void DeviceFiles::downloadFirmware() {
    Fun_下载文件_通用(FileType::Firmware, kFirmwareLabel, "Bin");
}

void DeviceFiles::Fun_上传文件_通用(const QString& destination, FileType type,
                                    const QString& header) {
    if (!m_transfer.checkConnectedForTransfer(m_log)) return;
    m_log.clear();
    appendLog(m_log, header);
    m_transfer.uploadFile(type, destination, m_log);
}

void DeviceFiles::uploadDeviceFile(const DeviceFileKind& kind) {
    Fun_上传文件_通用(m_paths.inProgramDir(kind.uploadName), kind.fileType, kind.uploadHeader);
}

bool DeviceFiles::Fun_判断升级文件是否正确(const QString& path) {
    return firmwareSignatureFound(readWholeFile(path).value_or(QByteArray()));
}

bool DeviceFiles::Fun_文件检查(const QString& path) {
    if (Fun_FileSize(path) >= 1) return true;
    setFirmwarePath({});
    appendLog(m_log, dl::kFileMissing);
    return false;
}

void DeviceFiles::chooseFirmwareFile() {
    const QString path = Fun_OpenDialog(m_dialogs, "bin");
    if (path.isEmpty() || !Fun_文件检查(path)) return;
    setFirmwarePath(path);
    Fun_IniWrite(m_paths.workSet, kKeyFirmwarePath, path);
}

void DeviceFiles::query(std::uint8_t subCommand) {
    m_transfer.link().sendCommand(cmd::kControl, {subCommand});
}

void DeviceFiles::Fun_请求版本号() {
    query(sub::kVersion);
}

void DeviceFiles::requestComputerInfo() {
    query(sub::kComputerInfo);
}

void DeviceFiles::requestFileIds() {
    query(sub::kFileIds);
}

void DeviceFiles::Fun_接收版本号(std::uint8_t code, std::span<const std::uint8_t> data) {
    if (code != cmd::kControl) return;
    if (const auto text = queryReplyText(data)) appendLog(m_log, *text, false);
}

void DeviceFiles::toggleLogo() {
    const int value = iniReadInt(m_paths.workSet, kKeyLogo) != 0 ? 0 : 1;
    Fun_IniWrite(m_paths.workSet, kKeyLogo, QString::number(value));
    if (m_hooks.showLogo) m_hooks.showLogo(value == 1);
    appendLog(m_log, "  OK L_logo显示=" + QString::number(value), false);
}

void DeviceFiles::runTypedCommand(const QString& text) {
    switch (typedCommand(text)) {
        case TypedCommand::Logo:
            toggleLogo();
            break;
        case TypedCommand::Version:
            Fun_请求版本号();
            break;
        case TypedCommand::DeveloperMode:
            if (m_hooks.enterDeveloperMode) m_hooks.enterDeveloperMode();
            if (m_hooks.showComputerInfoButton) m_hooks.showComputerInfoButton(true);
            m_dialogs.prompter.message(dl::kDeveloperMode);
            break;
        case TypedCommand::ComputerInfo:
            requestComputerInfo();
            break;
        case TypedCommand::None:
            break;
    }
}

}  // namespace kx

#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

#include "transfer/transfer_format.h"

namespace kx {

// The device files window's fixed data and the pure parts of its rules.

// A parameter file the Controller keeps besides the show.
struct DeviceFileKind {
    FileType fileType = FileType::Show;
    QString label;         // in the log texts; empty for the show (upload only)
    QString extension;     // for the download's open dialog
    QString uploadName;    // below the program directory, with its extension
    QString uploadHeader;  // first log line of the upload
};
const DeviceFileKind& wallPanelFile();
const DeviceFileKind& vodFile();
const DeviceFileKind& airConditionerFile();
const DeviceFileKind& showUploadFile();

inline const QString kFirmwareLabel = QStringLiteral("升级Mcu程序");
inline const QByteArray kFirmwareSignature = QByteArrayLiteral("Vorn KX-7420");
// The signature must start at least this many bytes before the end of the image.
inline constexpr int kFirmwareTail = 1000;

// Fun_判断升级文件是否正确 on the file's bytes: the signature starts at an offset j with
// j <= length - 1000.
bool firmwareSignatureFound(const QByteArray& image);

// Fun_接收版本号: the text a 0xCE reply appends to the log, or nothing when the reply is not one
// of the three queries' (or too short to read).
std::optional<QString> queryReplyText(std::span<const std::uint8_t> data);

// The commands typed into the log box.
enum class TypedCommand { None, Logo, Version, DeveloperMode, ComputerInfo };
TypedCommand typedCommand(const QString& text);

namespace device_log {
inline const QString kFileError = QStringLiteral("->文件错误 ");
inline const QString kFirmwareFormat = QStringLiteral("->文件格式错误 ");
inline const QString kFileMissing = QStringLiteral("文件不存在！！！");
inline const QString kDeveloperMode = QStringLiteral("开发模式！");
}  // namespace device_log

}  // namespace kx

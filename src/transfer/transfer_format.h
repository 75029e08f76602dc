#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "link/protocol.h"

namespace kx {

// The byte side of the block transfer: argument layouts of the transfer commands, the block
// planner, the reply readers and the log texts. Everything here is pure.

// The codes 0xD0-0xD4 and 0xD8; their replies carry the code of the command they answer.
bool isTransferReplyCode(std::uint8_t code);

// Raw bytes per download block, and per upload read.
inline constexpr int kDownloadBlockSize = 1024;
inline constexpr int kUploadBlockSize = 512;
// A block's header takes 4 of the 2000 argument bytes the Controller accepts.
inline constexpr int kBlockHeaderSize = 4;
inline constexpr int kMaxPackedBlock = kMaxArguments - kBlockHeaderSize;
inline constexpr int kVerifyArgumentCount = 10;

// Sum of all bytes modulo 65536.
std::uint16_t additiveChecksum(std::span<const std::uint8_t> bytes);

// 0xD0: length (4), checksum (2), file type (1).
std::array<std::uint8_t, 7> startArguments(std::uint32_t length, std::uint16_t checksum,
                                           FileType fileType);
// 0xD2: all zero, or 0x88 + the scene the Controller switches to after loading (scene > 0).
std::array<std::uint8_t, kVerifyArgumentCount> verifyArguments(int sceneAfterLoad);
// 0xD3: the file type.
std::array<std::uint8_t, 1> uploadInfoArguments(FileType fileType);
// 0xD4: address (4), count (2).
std::array<std::uint8_t, 6> uploadBlockArguments(std::uint32_t address, std::uint16_t count);

// One download block: `raw` file bytes from the current offset, sent as the 0xD1 arguments raw
// length (2), packed length (2), packed bytes. A 1024-byte part whose packing would not fit the
// command body is sent as the longest shorter part that does (at worst 998 bytes, every byte a
// literal 0xFE); the Controller counts raw bytes, so shorter blocks need nothing else.
struct DownloadBlock {
    int raw = 0;
    std::vector<std::uint8_t> arguments;
};
DownloadBlock planBlock(std::span<const std::uint8_t> file, std::size_t offset);

// Reply of 0xD8: status byte 0x50 and the count of file bytes received. Nothing when the data
// are too short to hold both.
struct TransferStatus {
    std::uint8_t status = 0;
    std::uint32_t received = 0;
};
std::optional<TransferStatus> readStatusReply(std::span<const std::uint8_t> data);

// Reply of 0xD3: file type, present flag, start address (4), size (4).
struct UploadInfo {
    std::uint8_t fileType = 0;
    std::uint8_t present = 0;
    std::uint32_t address = 0;
    std::uint32_t size = 0;
};
std::optional<UploadInfo> readUploadInfo(std::span<const std::uint8_t> data);

// Kilobytes with one decimal, halves rounded up: 12800 bytes give "12.5".
QString kilobytesText(std::uint64_t bytes);

// Log texts of the transfers.
namespace transfer_log {
inline const QString kFile = QStringLiteral("->文件:");
inline const QString kReading = QStringLiteral("->读取文件");
inline const QString kMissing = QStringLiteral("->文件不存在！！！");
inline const QString kSize = QStringLiteral("->文件大小:");
inline const QString kHandshakeFailed = QStringLiteral("->握手失败");
inline const QString kHandshakeOk = QStringLiteral("->握手成功");
inline const QString kBlockDone = QStringLiteral(">");
inline const QString kBlockResend = QStringLiteral("X");
inline const QString kVerifying = QStringLiteral("->校验中...");
inline const QString kVerifyOk = QStringLiteral("->校验成功");
inline const QString kDownloadOk = QStringLiteral("->下载成功");
inline const QString kVerifyFailed = QStringLiteral("->校验失败");
inline const QString kNoAnswer = QStringLiteral("->通信失败");
inline const QString kUploadPrepare = QStringLiteral("->准备上传");
inline const QString kUploadInfo = QStringLiteral("->读取信息");
inline const QString kReadFailed = QStringLiteral("->读取失败");
inline const QString kUploadFailed = QStringLiteral("->上传失败");
inline const QString kNoSuchData = QStringLiteral("->数据不存在！！");
inline const QString kDataError = QStringLiteral("->数据错误");
inline const QString kBlockUploaded = QStringLiteral("<");
inline const QString kUploadEnd = QStringLiteral("->数据上传结束");
inline const QString kUploadOk = QStringLiteral("->上传成功");
inline const QString kUploadWriteFailed = QStringLiteral("->文件保存失败");
inline const QString kNotConnected = QStringLiteral("未连接");
// A transfer asked for while another one runs.
inline const QString kBusy = QStringLiteral("->正在传输");
}  // namespace transfer_log

}  // namespace kx

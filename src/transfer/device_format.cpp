#include "transfer/device_format.h"

#include <algorithm>

#include "base/settings.h"

namespace kx {

const DeviceFileKind& wallPanelFile() {
    static const DeviceFileKind kind{FileType::WallPanel, "墙板", "KQB", "R-QB.KQB",
                                     "->上传 墙板 参数文件 "};
    return kind;
}

const DeviceFileKind& vodFile() {
    static const DeviceFileKind kind{FileType::Vod, "VOD", "KVD", "R-VOD.KVD",
                                     "->上传 VOD 参数文件 "};
    return kind;
}

const DeviceFileKind& airConditionerFile() {
    static const DeviceFileKind kind{FileType::AirConIr, "红外空调参数文件", "AC", "R-IRAC.AC",
                                     "->上传 VOD 红外空调参数文件 "};
    return kind;
}

const DeviceFileKind& showUploadFile() {
    static const DeviceFileKind kind{FileType::Show, "", "", "R-S7420.K74",
                                     "->上传 灯光 参数文件 "};
    return kind;
}

bool firmwareSignatureFound(const QByteArray& image) {
    const qsizetype last = image.size() - kFirmwareTail;
    for (qsizetype j = 0; j <= last; ++j) {
        // last + 1000 = size, so the 12 signature bytes always lie inside the image.
        if (image.at(j) == kFirmwareSignature.at(0) &&
            image.mid(j, kFirmwareSignature.size()) == kFirmwareSignature) {
            return true;
        }
    }
    return false;
}

namespace {

// The last 3 digits of "00" + the number.
QString threeDigits(int n) {
    return ("00" + QString::number(n)).right(3);
}

QString fileIdsText(std::span<const std::uint8_t> data) {
    auto byte = [&](std::size_t i) -> int { return i < data.size() ? data[i] : 0; };
    QString text = "  OK ";
    text +=
        byte(1) > 0 ? "墙板文件ID=A" + threeDigits(byte(2)) + "  " : QString("墙板文件不存在  ");
    text += byte(3) > 0 ? "VOD文件ID=B" + threeDigits(byte(4)) + "  " : QString("VOD文件不存在  ");
    return text + "\r\n";
}

// The text form of the record files: one length byte, then UTF-16 big-endian code units; a
// length reaching past the reply is cut at its end.
QString storedText(std::span<const std::uint8_t> bytes, int maxLength) {
    if (bytes.empty()) return {};
    const int units =
        std::min({int{bytes[0]}, static_cast<int>((bytes.size() - 1) / 2), maxLength});
    QString text;
    for (int i = 0; i < units; ++i) {
        text += QChar(static_cast<char16_t>(bytes[1 + 2 * i] << 8 | bytes[2 + 2 * i]));
    }
    return text;
}

}  // namespace

std::optional<QString> queryReplyText(std::span<const std::uint8_t> data) {
    if (data.empty()) return std::nullopt;
    switch (data[0]) {
        case sub::kVersion: {
            // One character per byte, each byte on its own in the ANSI code page.
            QString version;
            for (std::uint8_t b : data.subspan(1)) {
                version += decodeCp936(QByteArray(1, static_cast<char>(b)));
            }
            return "  OK 机器版本号= " + version + "\r\n";
        }
        case sub::kComputerInfo:
            if (data.size() >= 2 && data[1] == kReplyYes) {
                return "\r\n" + storedText(data.subspan(2), 250) + "\r\n";
            }
            if (data.size() >= 2 && data[1] == kReplyNone) return QString("\r\n没有\r\n");
            return std::nullopt;
        case sub::kFileIds:
            return fileIdsText(data);
        default:
            return std::nullopt;
    }
}

TypedCommand typedCommand(const QString& text) {
    if (text == "@logo") return TypedCommand::Logo;
    if (text == "@版本号") return TypedCommand::Version;
    if (text == "@调试入口") return TypedCommand::DeveloperMode;
    if (text == "@系统信息") return TypedCommand::ComputerInfo;
    return TypedCommand::None;
}

}  // namespace kx

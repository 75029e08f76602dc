#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/dmx_frame.h"

namespace kx {

// Every datagram to and from the Controller: "K7420", two class bytes, a body.
inline constexpr std::array<std::uint8_t, 5> kMagic{'K', '7', '4', '2', '0'};
inline constexpr int kHeaderSize = 7;
// Body limits: the Controller takes a code plus at most 2000 argument bytes, and a received body
// has room for 2001 bytes, so no datagram of either direction is longer than 2008 bytes.
inline constexpr int kMaxArguments = 2000;
inline constexpr int kMaxBody = 1 + kMaxArguments;
inline constexpr int kMaxDatagram = kHeaderSize + kMaxBody;

// Class pairs.
inline constexpr std::uint8_t kClassCommand = 0xCC;
inline constexpr std::uint8_t kClassCommandOut = 0x50;    // tool -> Controller
inline constexpr std::uint8_t kClassCommandReply = 0x51;  // Controller -> tool
inline constexpr std::uint8_t kClassDiagnostic = 0xFF;
inline constexpr std::uint8_t kClassDiagnosticText = 0x10;
inline constexpr std::uint8_t kClassKeepAlive = 0xCA;
inline constexpr std::uint8_t kClassKeepAliveProbe = 0x01;
inline constexpr std::uint8_t kClassKeepAliveAnswer = 0x02;

// Command codes (class 0xCC 0x50) and the reply codes that answer them.
namespace cmd {
inline constexpr std::uint8_t kConnect = 0xC0;
inline constexpr std::uint8_t kDisconnect = 0xC4;  // the Controller restarts
inline constexpr std::uint8_t kStartWindow = 0xCB;
inline constexpr std::uint8_t kControl = 0xCE;  // argument 0 is a sub-command below
inline constexpr std::uint8_t kDownloadStart = 0xD0;
inline constexpr std::uint8_t kDownloadBlock = 0xD1;
inline constexpr std::uint8_t kDownloadVerify = 0xD2;
inline constexpr std::uint8_t kUploadInfo = 0xD3;
inline constexpr std::uint8_t kUploadBlock = 0xD4;
inline constexpr std::uint8_t kDownloadStatus = 0xD8;
inline constexpr std::uint8_t kDmxPortsAB = 0x6A;
inline constexpr std::uint8_t kDmxPortsCD = 0x6B;
inline constexpr std::uint8_t kDmxPortVJ = 0x6C;
}  // namespace cmd

// Sub-commands of 0xCE.
namespace sub {
inline constexpr std::uint8_t kTestMode = 0x10;
inline constexpr std::uint8_t kDrumBeat = 0x11;
inline constexpr std::uint8_t kRunScene = 0x12;
inline constexpr std::uint8_t kAnnounce = 0x13;
inline constexpr std::uint8_t kDenseDrum = 0x14;
inline constexpr std::uint8_t kCheer = 0x15;
inline constexpr std::uint8_t kBoo = 0x16;
inline constexpr std::uint8_t kSmoke = 0x17;
inline constexpr std::uint8_t kMicShake = 0x18;
inline constexpr std::uint8_t kSerialTest = 0x19;
inline constexpr std::uint8_t kSceneReport = 0x20;
inline constexpr std::uint8_t kVersion = 0x21;
inline constexpr std::uint8_t kVodKey = 0x22;
inline constexpr std::uint8_t kAirConIr = 0x24;
inline constexpr std::uint8_t kFanAirCon = 0x25;
inline constexpr std::uint8_t kComputerInfo = 0x26;
inline constexpr std::uint8_t kAudioSource = 0x27;
inline constexpr std::uint8_t kBuzzer = 0x28;
inline constexpr std::uint8_t kRs485 = 0x29;
inline constexpr std::uint8_t kInfo = 0x30;
inline constexpr std::uint8_t kFileIds = 0x31;
inline constexpr std::uint8_t kNecReceive = 0x50;
inline constexpr std::uint8_t kNecSend = 0x51;
}  // namespace sub

// Argument and reply marker bytes.
inline constexpr std::uint8_t kBroadcastMarker = 0x89;  // 0xC0 / 0xCE 0x13 in broadcast mode
inline constexpr std::uint8_t kSerialWallPanel = 0xA1;
inline constexpr std::uint8_t kSerialVod = 0xA2;
inline constexpr std::uint8_t kSerialTestOn = 0x88;
inline constexpr std::uint8_t kSerialTestOff = 0x44;
inline constexpr std::uint8_t kIrSendStored = 0x01;
inline constexpr std::uint8_t kIrLearn = 0x02;  // also the "learned" reply
inline constexpr std::uint8_t kIrStopLearning = 0x04;
inline constexpr std::uint8_t kFan = 0x01;
inline constexpr std::uint8_t kAirConMode = 0x02;
inline constexpr std::uint8_t kAirConFanSpeed = 0x03;
inline constexpr std::uint8_t kReplyYes = 0x66;  // verified, stored information present, NEC code
inline constexpr std::uint8_t kReplyNone = 0x44;
inline constexpr std::uint8_t kStatusGood = 0x50;
inline constexpr std::uint8_t kVerifySwitchScene = 0x88;

// The scene editor's fixed texts: report received scene numbers on / off.
inline constexpr char kSceneReportOnText[] = "FAF5AA55 000A CE 20 8800";
inline constexpr char kSceneReportOffText[] = "FAF5AA55 000A CE 20 44BC";

// File types of the block transfer.
enum class FileType : std::uint8_t {
    Show = 1,
    WallPanel = 2,
    Vod = 3,
    AirConIr = 4,
    Firmware = 5,
};

// magic + class bytes + body.
QByteArray buildPacket(std::uint8_t class1, std::uint8_t class2,
                       std::span<const std::uint8_t> body);

struct Packet {
    std::uint8_t class1 = 0;
    std::uint8_t class2 = 0;
    std::span<const std::uint8_t> body;
};
// The packet in a datagram; none when it is shorter than the header, longer than kMaxDatagram
// or does not begin with the magic.
std::optional<Packet> parsePacket(std::span<const std::uint8_t> datagram);

// The body a hex text stands for: spaces removed, two digits a byte, a final lone digit a byte of
// its own. None when the text holds anything else or stands for more than kMaxBody bytes.
std::optional<std::vector<std::uint8_t>> hexTextBytes(const QString& text);

// Bytes as two upper-case hex digits each, without separators.
QString hexDigits(std::span<const std::uint8_t> bytes);

// Link counters run 1..9999 and continue at 1.
inline constexpr int kCounterLimit = 9999;
constexpr int nextCount(int count) {
    return count >= kCounterLimit ? 1 : count + 1;
}
// The counter moved on (or back) by n.
constexpr int advanceCount(int count, int n) {
    const int moved = (count - 1 + n) % kCounterLimit;
    return (moved < 0 ? moved + kCounterLimit : moved) + 1;
}
// "S:0012   G:0009".
QString counterText(int sendCount, int receiveCount);

// Live DMX: the arguments of 0x6A (ports A, B: frame 1-1024), 0x6B (C, D: 1025-2048) and 0x6C
// (VJ: 2049-2560 at 0-511, then 531 = 1, 532 = VJ server, 533 = 1, zeros elsewhere).
inline constexpr int kDmxPairArguments = 1024;
inline constexpr int kDmxVjArguments = 600;
void fillDmxPortsAB(const DmxFrame& frame, std::span<std::uint8_t, kDmxPairArguments> out);
void fillDmxPortsCD(const DmxFrame& frame, std::span<std::uint8_t, kDmxPairArguments> out);
void fillDmxPortVJ(const DmxFrame& frame, std::uint8_t vjServer,
                   std::span<std::uint8_t, kDmxVjArguments> out);

}  // namespace kx

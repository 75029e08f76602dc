#include "link/protocol.h"

#include <algorithm>

namespace kx {

namespace {

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

constexpr int kPortSize = 512;

}  // namespace

QByteArray buildPacket(std::uint8_t class1, std::uint8_t class2,
                       std::span<const std::uint8_t> body) {
    QByteArray packet;
    packet.reserve(kHeaderSize + static_cast<qsizetype>(body.size()));
    packet.append(reinterpret_cast<const char*>(kMagic.data()), kMagic.size());
    packet.append(static_cast<char>(class1));
    packet.append(static_cast<char>(class2));
    packet.append(reinterpret_cast<const char*>(body.data()), static_cast<qsizetype>(body.size()));
    return packet;
}

std::optional<Packet> parsePacket(std::span<const std::uint8_t> datagram) {
    if (datagram.size() < static_cast<std::size_t>(kHeaderSize) ||
        datagram.size() > static_cast<std::size_t>(kMaxDatagram)) {
        return std::nullopt;
    }
    if (!std::equal(kMagic.begin(), kMagic.end(), datagram.begin())) return std::nullopt;
    return Packet{datagram[5], datagram[6], datagram.subspan(kHeaderSize)};
}

std::optional<std::vector<std::uint8_t>> hexTextBytes(const QString& text) {
    QString digits = text;
    digits.remove(QLatin1Char(' '));
    if ((digits.size() + 1) / 2 > kMaxBody) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>((digits.size() + 1) / 2));
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        const int high = hexValue(digits[i]);
        if (high < 0) return std::nullopt;
        if (i + 1 == digits.size()) {
            bytes.push_back(static_cast<std::uint8_t>(high));
            break;
        }
        const int low = hexValue(digits[i + 1]);
        if (low < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

QString hexDigits(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size() * 2));
    for (std::uint8_t b : bytes) {
        text += QLatin1Char(kDigits[b >> 4]);
        text += QLatin1Char(kDigits[b & 15]);
    }
    return text;
}

QString counterText(int sendCount, int receiveCount) {
    const auto last4 = [](int n) { return (QStringLiteral("0000") + QString::number(n)).right(4); };
    return QStringLiteral("S:") + last4(sendCount) + QStringLiteral("   G:") + last4(receiveCount);
}

void fillDmxPortsAB(const DmxFrame& frame, std::span<std::uint8_t, kDmxPairArguments> out) {
    std::copy_n(frame.begin() + 1, kDmxPairArguments, out.begin());
}

void fillDmxPortsCD(const DmxFrame& frame, std::span<std::uint8_t, kDmxPairArguments> out) {
    std::copy_n(frame.begin() + 1 + 2 * kPortSize, kDmxPairArguments, out.begin());
}

void fillDmxPortVJ(const DmxFrame& frame, std::uint8_t vjServer,
                   std::span<std::uint8_t, kDmxVjArguments> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    std::copy_n(frame.begin() + 1 + 4 * kPortSize, kPortSize, out.begin());
    out[531] = 1;
    out[532] = vjServer;
    out[533] = 1;
}

}  // namespace kx

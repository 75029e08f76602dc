#include "sim_packet.h"

namespace kxsim {

namespace {

const QByteArray kMagic("K7420");

QString commandName(const QByteArray& body) {
    const auto code = static_cast<std::uint8_t>(body[0]);
    const auto sub = body.size() > 1 ? static_cast<std::uint8_t>(body[1]) : 0;
    switch (code) {
        case 0xC0:
            return QStringLiteral("connect");
        case 0xC4:
            return QStringLiteral("disconnect");
        case 0xCB:
            return QStringLiteral("start window");
        case 0xD0:
            return QStringLiteral("download start");
        case 0xD1:
            return QStringLiteral("download block");
        case 0xD2:
            return QStringLiteral("download verify");
        case 0xD3:
            return QStringLiteral("upload info");
        case 0xD4:
            return QStringLiteral("upload block");
        case 0xD8:
            return QStringLiteral("download status");
        case 0x6A:
            return QStringLiteral("dmx A+B");
        case 0x6B:
            return QStringLiteral("dmx C+D");
        case 0x6C:
            return QStringLiteral("dmx VJ");
        case 0xFA:
            return QStringLiteral("inner frame");
        case 0xCE:
            break;
        default:
            return QStringLiteral("unknown");
    }
    switch (sub) {
        case 0x11:
            return QStringLiteral("drum beat");
        case 0x12:
            return QStringLiteral("run scene");
        case 0x13:
            return QStringLiteral("announce");
        case 0x19:
            return QStringLiteral("serial test");
        case 0x20:
            return QStringLiteral("scene report");
        case 0x21:
            return QStringLiteral("version");
        case 0x24:
            return QStringLiteral("air-con IR");
        case 0x26:
            return QStringLiteral("computer info");
        case 0x31:
            return QStringLiteral("file ids");
        case 0x50:
            return QStringLiteral("NEC receive");
        default:
            return QStringLiteral("control");
    }
}

}  // namespace

std::optional<SimPacket> parseDatagram(const QByteArray& datagram) {
    if (datagram.size() < kHeaderSize || datagram.size() > kMaxDatagram) return std::nullopt;
    if (!datagram.startsWith(kMagic)) return std::nullopt;
    return SimPacket{static_cast<std::uint8_t>(datagram[5]), static_cast<std::uint8_t>(datagram[6]),
                     datagram.mid(kHeaderSize)};
}

QByteArray makeDatagram(std::uint8_t class1, std::uint8_t class2, const QByteArray& body) {
    QByteArray d = kMagic;
    d.append(static_cast<char>(class1));
    d.append(static_cast<char>(class2));
    d.append(body);
    return d;
}

std::optional<QByteArray> zeroRunDecode(const QByteArray& packed, int rawLength) {
    if (packed.isEmpty() || rawLength <= 0) return std::nullopt;
    QByteArray raw;
    raw.reserve(rawLength);
    const qsizetype last = packed.size() - 1;
    qsizetype i = 0;
    while (i < last) {
        const auto b = static_cast<std::uint8_t>(packed[i]);
        if (b != 0xFE) {
            raw.append(static_cast<char>(b));
            ++i;
        } else {
            // A code pair never reaches into the last byte, which is always literal.
            if (i + 1 >= last) return std::nullopt;
            const auto k = static_cast<std::uint8_t>(packed[i + 1]);
            if (k == 0xFF) {
                raw.append(static_cast<char>(0xFE));
            } else if (k >= 1 && k <= 250) {
                raw.append(QByteArray(k, '\0'));
            } else {
                return std::nullopt;
            }
            i += 2;
        }
        if (raw.size() >= rawLength) return std::nullopt;  // no room left for the last byte
    }
    raw.append(packed[last]);
    if (raw.size() != rawLength) return std::nullopt;
    return raw;
}

std::uint16_t additiveChecksum(const QByteArray& bytes) {
    std::uint32_t sum = 0;
    for (char c : bytes)
        sum += static_cast<std::uint8_t>(c);
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

std::uint32_t getBe(const QByteArray& bytes, int at, int size) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return v;
}

void putBe(QByteArray& bytes, std::uint32_t value, int size) {
    for (int i = size - 1; i >= 0; --i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

QString describe(const SimPacket& packet) {
    QString what;
    if (packet.class1 == kClassCommand && packet.class2 == kCommand) {
        what = packet.body.isEmpty() ? QStringLiteral("empty command") : commandName(packet.body);
    } else if (packet.class1 == kClassCommand && packet.class2 == kReply) {
        what = QStringLiteral("reply");
    } else if (packet.class1 == kClassKeepAlive) {
        what = packet.class2 == kProbe ? QStringLiteral("keep-alive probe")
                                       : QStringLiteral("keep-alive answer");
    } else if (packet.class1 == kClassDiagnostic) {
        what = QStringLiteral("diagnostic");
    } else {
        what = QStringLiteral("unknown class");
    }
    constexpr int kShown = 24;
    QString bytes = QString::fromLatin1(packet.body.left(kShown).toHex(' ').toUpper());
    if (packet.body.size() > kShown)
        bytes += QStringLiteral(" ... (%1 bytes)").arg(packet.body.size());
    const auto hex2 = [](std::uint8_t b) {
        return QString::number(b, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    };
    return QStringLiteral("%1 %2  %3  %4")
        .arg(hex2(packet.class1), hex2(packet.class2), what.leftJustified(16), bytes);
}

}  // namespace kxsim

#include "sim_transfer.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "sim_packet.h"

namespace kxsim {

namespace {

constexpr char kStart = static_cast<char>(0xD0);
constexpr char kBlock = static_cast<char>(0xD1);
constexpr char kVerify = static_cast<char>(0xD2);
constexpr char kInfo = static_cast<char>(0xD3);
constexpr char kUpload = static_cast<char>(0xD4);
constexpr char kStatus = static_cast<char>(0xD8);
constexpr char kGood = 0x50;
constexpr char kYes = 0x66;
constexpr char kNo = 0x44;

QByteArray reply(char code, std::initializer_list<char> data = {}) {
    QByteArray r(1, code);
    for (char c : data)
        r.append(c);
    return r;
}

}  // namespace

QString SimTransfer::fileName(int type) {
    switch (type) {
        case 1:
            return QStringLiteral("S7420.K74");
        case 2:
            return QStringLiteral("QB.KQB");
        case 3:
            return QStringLiteral("VOD.KVD");
        case 4:
            return QStringLiteral("IRAC.AC");
        case 5:
            return QStringLiteral("FIRMWARE.BIN");
        default:
            return {};
    }
}

QString SimTransfer::pathOf(int type) const {
    return QDir(m_folder).filePath(fileName(type));
}

std::optional<QByteArray> SimTransfer::handle(const QByteArray& body) {
    if (body.isEmpty()) return std::nullopt;
    const QByteArray args = body.mid(1);
    switch (body[0]) {
        case kStart:
            return start(args);
        case kBlock:
            return block(args);
        case kStatus:
            return status();
        case kVerify:
            return verify(args);
        case kInfo:
            return uploadInfo(args);
        case kUpload:
            return uploadBlock(args);
        default:
            return std::nullopt;
    }
}

std::optional<QByteArray> SimTransfer::start(const QByteArray& args) {
    if (args.size() != 7) return std::nullopt;
    const std::uint32_t length = getBe(args, 0, 4);
    const int type = static_cast<std::uint8_t>(args[6]);
    if (length == 0 || length > kMaxFileLength || fileName(type).isEmpty()) return std::nullopt;
    m_active = true;
    m_type = type;
    m_length = length;
    m_checksum = static_cast<std::uint16_t>(getBe(args, 4, 2));
    m_data.clear();
    m_data.reserve(static_cast<qsizetype>(std::min<std::uint32_t>(length, 1 << 20)));
    m_lastBlock = 0;
    return reply(kStart, {kGood});
}

std::optional<QByteArray> SimTransfer::block(const QByteArray& args) {
    // A block the Controller cannot take gets no answer: the tool then asks for the status.
    const auto refuse = [this]() -> std::optional<QByteArray> {
        ++m_blocksRefused;
        return std::nullopt;
    };
    if (!m_active || args.size() < 5) return refuse();
    const int raw = static_cast<int>(getBe(args, 0, 2));
    const int packed = static_cast<int>(getBe(args, 2, 2));
    if (packed != args.size() - 4) return refuse();
    if (raw > static_cast<qint64>(m_length) - m_data.size()) return refuse();
    const auto bytes = zeroRunDecode(args.mid(4), raw);
    if (!bytes) return refuse();
    m_data.append(*bytes);
    m_lastBlock = raw;
    ++m_blocksAccepted;
    QByteArray r = reply(kBlock, {kGood});
    putBe(r, static_cast<std::uint32_t>(m_data.size()), 4);
    return r;
}

QByteArray SimTransfer::status() {
    if (m_active && faults.wrongStatus > 0 && m_lastBlock > 0) {
        --faults.wrongStatus;
        m_data.chop(m_lastBlock);
        m_lastBlock = 0;
    }
    QByteArray r = reply(kStatus, {m_active ? kGood : kNo});
    putBe(r, static_cast<std::uint32_t>(m_data.size()), 4);
    return r;
}

QByteArray SimTransfer::verify(const QByteArray& args) {
    ++m_verifications;
    m_lastVerifyOk = false;
    if (!m_active) return reply(kVerify, {kNo});
    m_active = false;
    if (args.size() >= 2 && static_cast<std::uint8_t>(args[0]) == 0x88) {
        m_switchedScene = static_cast<std::uint8_t>(args[1]);
    }
    const bool complete =
        m_data.size() == static_cast<qint64>(m_length) && additiveChecksum(m_data) == m_checksum;
    if (!complete || faults.failVerify) return reply(kVerify, {kNo});
    QDir().mkpath(m_folder);
    QSaveFile file(pathOf(m_type));
    if (!file.open(QIODevice::WriteOnly) || file.write(m_data) != m_data.size() || !file.commit()) {
        return reply(kVerify, {kNo});
    }
    ++m_storedFiles;
    m_lastVerifyOk = true;
    return reply(kVerify, {kYes});
}

QByteArray SimTransfer::uploadInfo(const QByteArray& args) {
    const int type = args.isEmpty() ? 0 : static_cast<std::uint8_t>(args[0]);
    m_servedType = 0;
    m_served.clear();
    QFile file(fileName(type).isEmpty() ? QString() : pathOf(type));
    if (!fileName(type).isEmpty() && file.size() <= kMaxFileLength &&
        file.open(QIODevice::ReadOnly)) {
        m_served = file.readAll();
        if (!m_served.isEmpty()) m_servedType = type;
    }
    QByteArray r = reply(kInfo, {static_cast<char>(type), static_cast<char>(m_servedType ? 1 : 0)});
    putBe(r, m_servedType ? startAddressOf(type) : 0, 4);
    putBe(r, static_cast<std::uint32_t>(m_served.size()), 4);
    return r;
}

QByteArray SimTransfer::uploadBlock(const QByteArray& args) {
    QByteArray r = reply(kUpload);
    if (args.size() < 6 || m_servedType == 0) return r;
    const qint64 offset = static_cast<qint64>(getBe(args, 0, 4)) - startAddressOf(m_servedType);
    const int count = std::min(static_cast<int>(getBe(args, 4, 2)), kMaxUploadBlock);
    if (offset < 0 || offset >= m_served.size()) return r;
    QByteArray data = m_served.mid(offset, count);
    if (faults.shortUpload && !data.isEmpty()) data.chop(1);
    return r + data;
}

}  // namespace kxsim

#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// The Controller's side of the datagram format, written on its own so that the simulated
// Controller checks the tool instead of sharing its mistakes.
namespace kxsim {

inline constexpr int kHeaderSize = 7;
// The Controller's receive buffer: a code plus 2000 argument bytes.
inline constexpr int kMaxBody = 2001;
inline constexpr int kMaxDatagram = kHeaderSize + kMaxBody;

inline constexpr std::uint8_t kClassCommand = 0xCC;
inline constexpr std::uint8_t kCommand = 0x50;
inline constexpr std::uint8_t kReply = 0x51;
inline constexpr std::uint8_t kClassKeepAlive = 0xCA;
inline constexpr std::uint8_t kProbe = 0x01;
inline constexpr std::uint8_t kAnswer = 0x02;
inline constexpr std::uint8_t kClassDiagnostic = 0xFF;
inline constexpr std::uint8_t kDiagnosticText = 0x10;

struct SimPacket {
    std::uint8_t class1 = 0;
    std::uint8_t class2 = 0;
    QByteArray body;
};

// None for a datagram shorter than the header, longer than the receive buffer or without the
// magic "K7420".
std::optional<SimPacket> parseDatagram(const QByteArray& datagram);
QByteArray makeDatagram(std::uint8_t class1, std::uint8_t class2, const QByteArray& body);

// Undoes the zero-run packing of a download block: FE FF is FE, FE k (1-250) is k zeros, the
// last packed byte is always literal. None for a malformed code or more than rawLength bytes.
std::optional<QByteArray> zeroRunDecode(const QByteArray& packed, int rawLength);

// Sum of the bytes modulo 65536.
std::uint16_t additiveChecksum(const QByteArray& bytes);

std::uint32_t getBe(const QByteArray& bytes, int at, int size);
void putBe(QByteArray& bytes, std::uint32_t value, int size);

// One line for the log: classes, what the packet is, and its bytes (long bodies shortened).
QString describe(const SimPacket& packet);

}  // namespace kxsim

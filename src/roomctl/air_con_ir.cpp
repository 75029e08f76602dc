#include "roomctl/air_con_ir.h"

#include <array>

namespace kx {

namespace {

constexpr std::uint8_t kReplyControl = 0xCE;
constexpr std::uint8_t kAirConIr = 0x24;
constexpr std::uint8_t kSendStored = 0x01;
constexpr std::uint8_t kLearn = 0x02;  // also the "learned" report
constexpr std::uint8_t kStop = 0x04;

const std::array<QString, kAirConKeys> kCaptions{
    QStringLiteral("关闭"),       QStringLiteral("冷低风26度"), QStringLiteral("冷中风23度"),
    QStringLiteral("冷高风18度"), QStringLiteral("热低风18度"), QStringLiteral("热中风23度"),
    QStringLiteral("热高风30度")};

bool isKey(int key) {
    return key >= 0 && key < kAirConKeys;
}

}  // namespace

QString airConKeyCaption(int key) {
    return isKey(key) ? kCaptions[static_cast<std::size_t>(key)] : QString();
}

QString airConLearningText(int key) {
    return QStringLiteral("正在学习【") + airConKeyCaption(key) + QStringLiteral("】");
}

bool isAirConLearned(std::uint8_t code, std::span<const std::uint8_t> data) {
    return code == kReplyControl && data.size() >= 2 && data[0] == kAirConIr && data[1] == kLearn;
}

AirConIrEditor::AirConIrEditor(SendControl sendControl) : m_send(std::move(sendControl)) {}

void AirConIrEditor::learn(int key) {
    if (!isKey(key)) return;
    m_feedback = airConLearningText(key);
    const std::array<std::uint8_t, 3> args{kAirConIr, kLearn, static_cast<std::uint8_t>(key)};
    m_send(args);
}

void AirConIrEditor::stopLearning() {
    const std::array<std::uint8_t, 2> args{kAirConIr, kStop};
    m_send(args);
    m_feedback = kAirConStopText;
}

void AirConIrEditor::Fun_发送已经保存红外码值(int key) {
    if (!isKey(key)) return;
    const std::array<std::uint8_t, 3> args{kAirConIr, kSendStored, static_cast<std::uint8_t>(key)};
    m_send(args);
}

bool AirConIrEditor::receiveReply(std::uint8_t code, std::span<const std::uint8_t> data) {
    if (!isAirConLearned(code, data)) return false;
    m_feedback += kAirConLearnedText + '\n';
    return true;
}

}  // namespace kx

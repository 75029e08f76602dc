#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <span>

namespace kx {

// Learning the air conditioner's infrared codes: the Controller learns a state's code from the
// unit's own remote, keeps it, and sends it again on request. The tool keeps no learning state;
// what it is told shows only in the feedback text.

inline constexpr int kAirConKeys = 7;
inline constexpr int kAirConTestLockMs = 300;  // the test buttons rest after a press
inline const QString kAirConStopText = QStringLiteral("停止学习");
inline const QString kAirConLearnedText = QStringLiteral(" ->学习成功!");

// Key 0-6: "关闭", "冷低风26度" ... "热高风30度"; "" for any other.
QString airConKeyCaption(int key);
// "正在学习【" + caption + "】".
QString airConLearningText(int key);
// The Controller's reply that a key was learned: 0xCE with data 0x24 0x02.
bool isAirConLearned(std::uint8_t code, std::span<const std::uint8_t> data);

class AirConIrEditor {
  public:
    // Sends command 0xCE with these arguments.
    using SendControl = std::function<void(std::span<const std::uint8_t> args)>;

    explicit AirConIrEditor(SendControl sendControl);

    const QString& feedback() const { return m_feedback; }

    // 0xCE 0x24 0x02 key; the feedback says which state is being learned.
    void learn(int key);
    // 0xCE 0x24 0x04; the feedback says so.
    void stopLearning();
    // Fun_发送已经保存红外码值: 0xCE 0x24 0x01 key, the Controller sends the stored code.
    void Fun_发送已经保存红外码值(int key);
    // A learned report appends " ->学习成功!" and a line break, asked for or not; false for any
    // other reply.
    bool receiveReply(std::uint8_t code, std::span<const std::uint8_t> data);

  private:
    SendControl m_send;
    QString m_feedback;
};

}  // namespace kx

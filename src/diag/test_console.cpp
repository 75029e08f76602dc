#include "diag/test_console.h"

namespace kx {

QString sceneButtonCaption(int n, const QString& remark, bool mainsByDmx) {
    QString caption = QString::number(n);
    if (!remark.isEmpty()) caption += "-" + remark;
    return mainsByDmx ? "[" + caption + "]" : caption;
}

std::optional<SerialEcho> Fun_模拟发送墙板_接收(std::uint8_t code,
                                                std::span<const std::uint8_t> data) {
    if (code != cmd::kControl || data.size() < 3 || data[0] != sub::kSerialTest)
        return std::nullopt;
    if (data[1] != kSerialWallPanel && data[1] != kSerialVod) return std::nullopt;
    SerialEcho echo{data[1], {}};
    for (std::size_t i = 2; i < data.size(); ++i) {
        echo.text += QString::number(data[i], 16).toUpper().rightJustified(2, '0') + " ";
    }
    return echo;
}

TestConsole::TestConsole(ControllerLink& link) : m_link(link) {}

void TestConsole::send(std::initializer_list<std::uint8_t> args) {
    m_link.sendCommand(cmd::kControl, args);
}

void TestConsole::Fun_场景指令发送(int n) {
    send({sub::kRunScene, static_cast<std::uint8_t>(n)});
}

bool TestConsole::sceneClicked(int n) {
    if (m_link.connected()) return false;
    Fun_场景指令发送(n);
    return true;
}

void TestConsole::Fun_功能测试功能开启关闭(bool on) {
    Fun_模拟发送墙板测试指令(on ? kSerialTestOn : kSerialTestOff, "");
}

bool TestConsole::Fun_模拟发送墙板测试指令(std::uint8_t port, const QString& hexText) {
    const auto bytes = hexTextBytes(hexText);
    if (!bytes || bytes->size() + 2 > static_cast<std::size_t>(kMaxArguments)) return false;
    std::vector<std::uint8_t> args{sub::kSerialTest, port};
    args.insert(args.end(), bytes->begin(), bytes->end());
    m_link.sendCommand(cmd::kControl, args);
    return true;
}

void TestConsole::fan(int index) {
    send({sub::kFanAirCon, kFan, static_cast<std::uint8_t>(index)});
}

void TestConsole::airConMode(int index) {
    send({sub::kFanAirCon, kAirConMode, static_cast<std::uint8_t>(index)});
}

void TestConsole::airConSpeed(int index) {
    send({sub::kFanAirCon, kAirConFanSpeed, static_cast<std::uint8_t>(index)});
}

void TestConsole::audioSource(int index) {
    send({sub::kAudioSource, static_cast<std::uint8_t>(index + 1)});
}

void TestConsole::vodKey(int index) {
    send({sub::kVodKey, static_cast<std::uint8_t>(index)});
}

void TestConsole::Fun_自动模拟鼓点() {
    if (m_drum.tick()) sendText(kBassBeatText);
}

}  // namespace kx

#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "base/auto_drum.h"
#include "link/controller_link.h"

namespace kx {

// The buttons of a row and the argument each sends.
struct ConsoleButton {
    int index;
    const char* caption;
};
inline constexpr std::array<ConsoleButton, 2> kFanButtons{{{0, "排风关"}, {1, "排风开"}}};
inline constexpr std::array<ConsoleButton, 2> kAirConModeButtons{{{0, "制冷"}, {1, "制热"}}};
inline constexpr std::array<ConsoleButton, 4> kAirConSpeedButtons{
    {{0, "关闭"}, {1, "低风"}, {2, "中风"}, {3, "高风"}}};
inline constexpr std::array<ConsoleButton, 3> kAudioSourceButtons{
    {{0, "音源1"}, {1, "音源2"}, {2, "音源3"}}};
inline constexpr std::array<ConsoleButton, 11> kVodKeyButtons{{{1, "音乐+"},
                                                               {2, "音乐-"},
                                                               {3, "麦克+"},
                                                               {4, "麦克-"},
                                                               {20, "静音"},
                                                               {23, "播放"},
                                                               {26, "切歌"},
                                                               {27, "重唱"},
                                                               {28, "原伴唱"},
                                                               {80, "服务"},
                                                               {81, "取消服务"}}};

// Single buttons that send a fixed text.
struct FixedTextButton {
    const char* name;
    const char* caption;
    const char* text;
};
inline constexpr std::array<FixedTextButton, 6> kFixedTextButtons{{
    {"Command密集鼓点", "密集鼓点", "CE14"},
    {"Command喝彩", "喝彩", "CE15"},
    {"Command倒彩", "倒彩", "CE16"},
    {"Command烟机", "烟机", "CE17"},
    {"Command摇麦", "摇麦", "CE18"},
    {"Command模拟低音", "手动低音", "CE11"},
}};
inline constexpr char kBassBeatText[] = "CE11";

inline constexpr int kConsoleSceneButtons = 39;
// "n", "n-remark", in "[" "]" when the scene's mains follow the DMX output.
QString sceneButtonCaption(int n, const QString& remark, bool mainsByDmx);

// The automatic drum button's colour: lit while the drum runs.
inline constexpr std::uint32_t kAutoDrumColourOn = 0xC0C0C0;
inline constexpr std::uint32_t kAutoDrumColourOff = 0x808080;
inline std::uint32_t autoDrumColour(const AutoDrum& drum) {
    return drum.mode == AutoDrum::Off ? kAutoDrumColourOff : kAutoDrumColourOn;
}

// What a serial-test reply shows: the monitor (wall panel 0xA1, VOD 0xA2) and its text.
struct SerialEcho {
    std::uint8_t port = 0;
    QString text;
};
// Fun_模拟发送墙板_接收: a 0xCE reply of at least 3 data bytes starting 0x19 echoes data 2.. as
// "XX " per byte towards the monitor named by data 1.
std::optional<SerialEcho> Fun_模拟发送墙板_接收(std::uint8_t code,
                                                std::span<const std::uint8_t> data);

// The test console's commands, every one a 0xCE command to the Controller.
class TestConsole {
  public:
    inline static const QString kDataError = "\r\n-----数据错误-----\r\n";

    explicit TestConsole(ControllerLink& link);

    // 0xCE 0x12 n.
    void Fun_场景指令发送(int n);
    // A scene button: only while not connected; true when sent.
    bool sceneClicked(int n);
    // The serial test function on (0x88) or off (0x44).
    void Fun_功能测试功能开启关闭(bool on);
    // 0xCE 0x19 port and the bytes of the hex text; false (nothing sent) when the text is not
    // hexadecimal.
    bool Fun_模拟发送墙板测试指令(std::uint8_t port, const QString& hexText);

    void fan(int index);          // 0xCE 0x25 0x01 index
    void airConMode(int index);   // 0xCE 0x25 0x02 index
    void airConSpeed(int index);  // 0xCE 0x25 0x03 index
    void audioSource(int index);  // 0xCE 0x27 index + 1
    void vodKey(int index);       // 0xCE 0x22 index
    void sendText(const QString& text) { m_link.sendHexText(text); }

    AutoDrum& drum() { return m_drum; }
    void Fun_自动鼓点初始化() { m_drum.mode = AutoDrum::Off; }
    // Run by the output tick while the console is the current view.
    void Fun_自动模拟鼓点();

  private:
    void send(std::initializer_list<std::uint8_t> args);

    ControllerLink& m_link;
    AutoDrum m_drum;
};

}  // namespace kx

#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "roomctl/room_control.h"
#include "scenes/scene_table.h"
#include "shell/appearance.h"

namespace kx {

// The rules of the room control editor: what its lists offer and store, what its code boxes take
// and show, and which colours they wear. Nothing here knows a widget.

// A list with fixed entries: entry i shows entries[i] and stores values[i].
struct ChoiceList {
    QStringList entries;
    std::vector<int> values;

    // The entry showing value; -1 when the list does not offer it (a value a file brought in).
    int indexOf(int value) const;
    std::optional<int> valueAt(int index) const;
};

// The lists of the editor, in the order they stand in the window.
enum class RoomList {
    StartupScene,
    AirCon,
    MicShake,
    Smoke,
    CheerBoo,
    DenseDrum,
    DjMode,
    DjAudioSource,
    DjScene,
    VjServer,
    AudioFollow,
    SceneXYLimit,
    XyDefaultLimit,  // of the Action Thresholds, not of the record
};
inline constexpr int kRoomListCount = 13;

struct RoomListEntry {
    RoomList list;
    const char* objectName;
    RoomControlField field;  // nullptr for the XY default action limit
};
const std::array<RoomListEntry, kRoomListCount>& roomLists();
const RoomListEntry& roomList(RoomList list);
// How an edit history entry names a list: its control's name without the kind ("开机场景").
QString roomListEditName(RoomList list);

// The Scenes a Scene-number list offers: "无", then 1-32.
inline constexpr int kLastListedScene = 32;
inline constexpr int kLastXyDefaultLimitOffered = 127;

// "无" for 0, otherwise n + "-" + the Scene's remark.
QString sceneEntryText(const SceneTable& scenes, int n);
// A list's entries; the Scene lists take their texts from the scenes.
ChoiceList roomListChoices(RoomList list, const SceneTable& scenes);

// The check boxes, each storing 0/1 in its field; one stores the tick inverted.
struct RoomCheckEntry {
    const char* objectName;
    const char* caption;
    RoomControlField field;
    bool inverted;
};
inline constexpr int kRoomCheckCount = 10;
const std::array<RoomCheckEntry, kRoomCheckCount>& roomChecks();
std::uint8_t checkFieldValue(const RoomCheckEntry& check, bool ticked);
bool checkTicked(const RoomCheckEntry& check, std::uint8_t value);

// "场景继电器控制选择": option n (1-based) stores n - 1.
inline constexpr int kRelaySourceOptions = 2;
inline const std::array<QString, kRelaySourceOptions> kRelaySourceCaptions{
    QStringLiteral("使用电脑设置"), QStringLiteral("使用手动设置")};

// The audio effector's keys 1-17 as the editor labels them.
QString effectorKeyLabel(int key);

// A code box's text: each byte as two upper-case hex digits and a space; no code shows empty.
QString effectorCodeText(const EffectorCode& code);
// What a code box's text stores: spaces removed, exactly 8 hex digits give the bytes in typed
// order, an empty box gives no code (all zero); anything else is refused.
std::optional<EffectorCode> parseEffectorCode(const QString& text);

// The Controller's report of a received NEC code: reply 0xCE, data 0x50 0x66 and the 4 bytes.
std::optional<EffectorCode> necReport(std::uint8_t code, std::span<const std::uint8_t> data);

inline constexpr int kIrFocusSettleMs = 100;       // from a focus change to the first tick
inline constexpr int kIrReceiveRepeatMs = 500;     // receive-on is repeated while a box has focus
inline constexpr std::uint8_t kNecReceive = 0x50;  // 0xCE sub-command: the receive switch
inline constexpr std::uint8_t kIrReceiveOn = 0x01;
inline constexpr std::uint8_t kIrReceiveOff = 0x00;

// One tick of the infrared-focus timer: the receive switch to send (none: nothing) and when to
// tick next (0: stop).
struct IrFocusStep {
    std::optional<std::uint8_t> receive;
    int nextMs = 0;
};
// With a focused key, receive-on goes out while connected with the view in front, again every
// 500 ms; the timer keeps going while the connection or the view is missing, so learning starts
// once they are there. Without one, receive-off goes out once while connected, whichever view is
// in front, so leaving the view in the middle of learning does not leave the receiver on; not
// connected, there is nothing to switch off (a disconnect restarts the Controller).
IrFocusStep irFocusTick(int focusedKey, bool connected, bool inFront);

struct RoomControlColours {
    Bgr codeValid = 0xD0D0D0;
    Bgr codeInvalid = 0xC0C0FF;
    Bgr labelFocused = 0xFFFF00;
    Bgr labelNormal = 0x00FFFF;
};
// The defaults, or under the full scheme its text background, its label text and the room control
// key for the focused label (the scheme has no key for a refused code).
RoomControlColours roomControlColours(const Appearance& appearance);

}  // namespace kx

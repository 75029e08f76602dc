#pragma once

#include <compare>
#include <string_view>

namespace kx {

// Names an editor, or any view or window a module brings, for the title bar and for the ways
// from one editor to another. The program's editors are named here; a module nobody leads to
// may name itself in its own header.
struct EditorId {
    std::string_view key;

    friend constexpr bool operator==(EditorId, EditorId) = default;
    friend constexpr auto operator<=>(EditorId, EditorId) = default;

    static const EditorId FixtureLibrary;
    static const EditorId Effects;
    static const EditorId Materials;
    static const EditorId FirmwareUpgrade;
    static const EditorId Download;
    static const EditorId Scenes;
    static const EditorId RoomControl;
    static const EditorId TestConsole;
    static const EditorId IrLearning;
    static const EditorId VersionNotes;
};

inline constexpr EditorId EditorId::FixtureLibrary{"fixture-library"};
inline constexpr EditorId EditorId::Effects{"effects"};
inline constexpr EditorId EditorId::Materials{"materials"};
inline constexpr EditorId EditorId::FirmwareUpgrade{"firmware-upgrade"};
inline constexpr EditorId EditorId::Download{"download"};
inline constexpr EditorId EditorId::Scenes{"scenes"};
inline constexpr EditorId EditorId::RoomControl{"room-control"};
inline constexpr EditorId EditorId::TestConsole{"test-console"};
inline constexpr EditorId EditorId::IrLearning{"ir-learning"};
inline constexpr EditorId EditorId::VersionNotes{"version-notes"};

// The title bar's function buttons (there is no button 2).
namespace title_button {
constexpr int kRoomControl = 1;     // "灯控": room control, or its air-conditioner IR window
constexpr int kFixtureLibrary = 3;  // "灯库"
constexpr int kShow = 4;            // "场景", "效果" or "素材": the one last chosen
constexpr int kTestConsole = 5;     // "测试"
constexpr int kDownload = 6;        // "下载"
}  // namespace title_button

// Controller replies are offered after the transfer's reply store, in this order.
namespace reply_order {
constexpr int kRoomControl = 1;  // its effector IR code receiver
constexpr int kDeviceWindow = 2;
constexpr int kTestConsole = 3;
constexpr int kSceneEditor = 4;
constexpr int kAirConIr = 5;
constexpr int kShowRecovery = 6;  // after every handler that may have stored the reply
}  // namespace reply_order

// The live output's view numbers, as the Controller's frames have always been told them.
namespace live_view {
constexpr int kDownload = 1;
constexpr int kDeviceFiles = 3;
constexpr int kSceneEditor = 4;
constexpr int kFixtureLibrary = 5;
constexpr int kRoomControl = 6;
constexpr int kMaterialStatic = 7;
constexpr int kMaterialRun = 8;
constexpr int kEffectEditor = 9;
constexpr int kTestConsole = 10;
constexpr int kAirConIr = 11;
}  // namespace live_view

}  // namespace kx

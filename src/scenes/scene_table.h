#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "storage/record_buffer.h"
#include "storage/show_file.h"

namespace kx {

// The 50 Scenes: what the Controller plays when a wall panel key, the VOD or the tool calls one.
// Show File section 2.

inline const QString kScenesTag = QStringLiteral("F1041101");
inline const QString kSceneBlocksTag = QStringLiteral("F1062601");
inline const QString kSceneExtensionTag = QStringLiteral("F1091701");
inline constexpr int kSceneCount = 50;
inline constexpr int kRelayChannels = 24;
inline constexpr int kDimmerChannels = 8;
inline constexpr int kSceneTextMax = 20;         // code units kept in the file
inline constexpr int kLastAssignableScene = 30;  // scenes above are special scenes
inline constexpr int kMaxEffectorSound = 6;
inline constexpr int kMaxAudioSource = 5;
inline constexpr int kMaxDimmerLevel = 9;
inline constexpr int kSceneFeatureEffectorSound = 0x02;  // bit 1 of the feature flags

struct Scene {
    QString name;                                              // 场景备注
    std::uint8_t effectNumber = 0;                             // 0 none, 1-50
    std::uint8_t mainsByDmx = 0;                               // 强电由Dmx512控制
    std::array<std::uint8_t, kRelayChannels> relays{};         // channel k at k - 1: 0/1
    std::array<std::uint8_t, kDimmerChannels> dimmerLevels{};  // channel k at k - 1: 0-9
    std::uint8_t audioSource = 0;                              // 0-5, shown as "CH1"-"CH6"
    std::uint8_t wallPanelScene = 0;                           // 0 none, 1-30
    std::uint8_t vodScene = 0;                                 // 0 none, 1-30
    std::uint8_t effectorSound = 0;                            // 0-6

    bool operator==(const Scene&) const = default;
};

struct SceneTable {
    // Scene n at index n (1-50); entry 0 exists and is never used.
    std::array<Scene, kSceneCount + 1> scenes;
    std::array<QString, kRelayChannels> relayRemarks;    // channel k at k - 1
    std::array<QString, kDimmerChannels> dimmerRemarks;  // channel k at k - 1

    // The pristine table: everything empty but the special scenes' names.
    SceneTable();

    Scene& at(int n) { return scenes.at(n); }
    const Scene& at(int n) const { return scenes.at(n); }

    bool operator==(const SceneTable&) const = default;
};

// The fixed names of scenes 31-35 ("全开", "全关", "静音/暂停", "合唱", "打碟电音").
const std::array<QString, 5>& specialSceneNames();

bool isSceneNumber(int n);                         // 1-50
bool isSpecialScene(int n);                        // 31-50
void resetScenes(SceneTable& t);                   // every field and remark 0 / empty
void applySpecialSceneNames(SceneTable& t);        // names of 31-35
bool sceneHasContent(const SceneTable& t, int n);  // effect, mains, a relay or a dimmer level
// Effect, mains, relays, dimmer levels, audio source and effector sound of from into to; the
// name and the associations of to stay. False for numbers outside 1-50.
bool copyScene(SceneTable& t, int from, int to);
// wallPanelScene = vodScene = n for scenes 1-30.
void setDefaultAssociations(SceneTable& t);

// Editing. Each refuses (false, nothing changed) a scene outside 1-50 or a value outside the
// field's range; names and associations of special scenes are not edited.
bool setSceneName(SceneTable& t, int n, const QString& name);
bool setSceneEffect(SceneTable& t, int n, int effect);
bool setMainsByDmx(SceneTable& t, int n, int on);
bool setRelay(SceneTable& t, int n, int channel, int on);
bool setDimmerLevel(SceneTable& t, int n, int channel, int level);
bool setAudioSource(SceneTable& t, int n, int source);
bool setWallPanelScene(SceneTable& t, int n, int wallPanelScene);
bool setVodScene(SceneTable& t, int n, int vodScene);
bool setEffectorSound(SceneTable& t, int n, int sound);
bool setRelayRemark(SceneTable& t, int channel, const QString& remark);
bool setDimmerRemark(SceneTable& t, int channel, const QString& remark);

// Section 2. The writer fails the buffer when a record lies beyond the reach of its 16-bit
// position (the section must sit in the first 65,535 bytes). The reader resets the table, reads
// what the section holds and applies the special names; false only when a position or count
// points outside the buffer (the table is then left reset).
void saveScenesSection(const SceneTable& t, RecordBuffer& buf, int& cursor);
bool loadScenesSection(SceneTable& t, RecordBuffer& buf, int& cursor);
SectionRoutine scenesSectionRoutine(SceneTable& t);

}  // namespace kx

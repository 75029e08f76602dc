#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>

#include "scenes/scene_table.h"
#include "shell/appearance.h"

namespace kx {

// The Scene editor's rules: what its buttons say and which colour they take, which frames are
// shown, and what the Controller's scene reports read as. Nothing here knows a widget.

inline const QString kLastEditedSceneKey = QStringLiteral("最后编辑场景");
inline const QString kAskDefaultAssociations = QStringLiteral("要设置成默认参数吗?");
inline constexpr std::uint8_t kSceneReportCode = 0xCE;
inline constexpr std::uint8_t kSceneReportTag = 0x20;
inline constexpr int kAssociationEntries = 31;  // "0" ... "30"

struct SceneEditorColours {
    Bgr sceneSelected = 0x6010BF;
    Bgr sceneOther = 0xD0D0D0;
    Bgr effectSelectedValid = 0x6010BF;
    Bgr effectSelectedInvalid = 0x60106F;
    Bgr effectOtherValid = 0xD0D0D0;
    Bgr effectOtherInvalid = 0x808080;
};
SceneEditorColours sceneEditorColours(const Appearance& appearance);

// "n", or "n-name"; in square brackets when the scene plays an Effect.
QString sceneButtonCaption(const SceneTable& t, int n);
// The association and remark frames belong to scenes 1-30 only.
bool sceneFramesShown(int n);
bool effectUsedByAScene(const SceneTable& t, int effect);
// The Effect's remark (its number while it has none, so that every button can be told apart), in
// square brackets when some scene plays it.
QString effectButtonCaption(int effect, const QString& remark, bool used);
Bgr effectButtonColour(bool valid, bool selected, const SceneEditorColours& c);
// With editing on, a click on the scene's own Effect takes it away again.
int toggledEffect(int current, int clicked);
// The scene an entry opens on: "最后编辑场景" outside 1-50 opens scene 1.
int openingScene(int remembered);

// The report box's text for a Controller report, nothing when it is not a scene report:
// "A-07  C-12" for a wall panel, "B-..." for the VOD, "C-12" alone for another source.
std::optional<QString> sceneReportText(std::uint8_t code, std::span<const std::uint8_t> data);

QStringList sceneRemarkSuggestions();
QStringList audioSourceEntries();    // "CH1" ... "CH6"
QStringList effectorSoundEntries();  // "无", "1整蛊" ... "6电影"
QStringList associationEntries();    // "0" ... "30"

}  // namespace kx

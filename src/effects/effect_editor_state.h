#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "base/auto_drum.h"
#include "effects/effect_model.h"
#include "shell/appearance.h"

namespace kx {

// The Effect editor's rules: which Bar buttons, rows and columns show, what the boxes offer and
// store, captions and the colours taken from the state. Nothing here knows a widget.

inline const QString kMsgNothingCopied = QStringLiteral("没有复制内容！");
inline const QString kAskOverwriteBar = QStringLiteral("确认要覆盖当前小节?");
inline const QString kAskClearBar = QStringLiteral("是否清空当前小节拍子选择?");
inline const QString kAskOverwriteEffect = QStringLiteral("要覆盖当前效果吗 ？");
inline const QString kAskClearEffect = QStringLiteral("要清空当前效果吗 ？");
inline const QString kAskOverwriteModule = QStringLiteral("要覆盖当前模块吗 ？");
inline const QString kNoShapePrompt = QStringLiteral("未设置小节数和拍数");
inline const QString kXyDefaultEntry = QStringLiteral("系统默认");

struct EffectEditorColours {
    Bgr barCurrent = 0x8080FF;
    Bgr barOther = 0x808080;
    Bgr beatSelected = 0x00CCCC;  // grid and flag buttons
    Bgr beatUnselected = 0x808080;
    Bgr demoCurrent = 0x0080FF;  // beat buttons
    Bgr demoOther = 0xC0C0C0;
    Bgr correspondenceNormal = 0x00FFFF;
    Bgr correspondenceBlink = 0xFF00FF;
    Bgr drumNormal = 0xFFFF80;
    Bgr drumFlash = 0xFF00FF;
    std::array<Bgr, 3> rowGroups{0x5A3C28, 0x3C5A28, 0x283C5A};  // rows 1-4, 5-8, 9-12
    Bgr rowMarker = 0x00FFFF;
    Bgr moduleCurrentWith = 0x00CCCC;
    Bgr moduleCurrentWithout = 0x008080;
    Bgr moduleOtherWith = 0xD0D0D0;
    Bgr moduleOtherWithout = 0x808080;
    Bgr materialExists = 0xC0C0C0;
    Bgr materialMissing = 0x808080;
    Bgr buttonText = 0xFF0000;  // Module and Material buttons
    Bgr slotMarker = 0x00FFFF;
    Bgr dwellNormal = 0xD0D0D0;
    Bgr dwellError = 0x8080FF;
    Bgr bassDisabledOn = 0x0000FF;  // "禁止低音" ticked, in bold
    Bgr bassDisabledOff = 0x00FFFF;
    Bgr autoRunning = 0xC0C0C0;
    Bgr autoStopped = 0x808080;
};
// The defaults, or the full scheme's keys with `customised`.
EffectEditorColours effectEditorColours(const Appearance& appearance);

Bgr moduleButtonColour(bool current, bool hasMaterials, const EffectEditorColours& c);
Bgr autoDrumColour(AutoDrum::Mode mode, const EffectEditorColours& c);
// The background of grid row s (and of its association button): the colour of its group.
Bgr rowGroupColour(int slot, const EffectEditorColours& c);

// Bar pages: page n shows Bars 16n + 1 .. 16n + 16.
int barOfButton(int page, int button);
QString barPageCaption(int page);  // "1-16", "17-32", ...
bool pageButtonVisible(const Effect& fx, int part);
// The page a part shows: 0 while the part fits one page, and never past its last Bar.
int shownPage(const Effect& fx, int part, int page);
// The page button: the next page while Bars remain beyond it, otherwise the first.
int nextBarPage(const Effect& fx, int part, int page);
bool barButtonVisible(const Effect& fx, int part, int page, int button);
// The bass part's Bars and boxes are there only with "开启独立低音".
bool bassPartShown(const Effect& fx);
// "无低音小节 [n]" / "低音小节 [n]".
QString barFrameTitle(int part, int bar);

bool beatColumnVisible(const Effect& fx, int part, int beat);
// With "4素材关联" only the first Slot of each group of four has a row.
bool gridRowVisible(const Effect& fx, int module, int slot);
// No Beats: none; otherwise a Beat of the Bar (1 when none or beyond beatsPerBar).
int correctedBeat(const Effect& fx, int part, int beat);
// A position the Effect has (after its shape was put back by undo): the bass part only while it
// is shown, a Bar of the part (1 when it has none) on the page showing it, a Beat of the Bar.
EffectEditorPosition validPosition(const Effect& fx, EffectEditorPosition pos);

// The dwell-time box takes a whole number 0-255.
std::optional<int> parseDwellTime(const QString& text);
QString dwellTimeLabel(int tenths);  // "4.0秒"

// The boxes of fixed entries: what each offers and what a chosen entry stores.
enum class ValueBox {
    BarCount,
    BeatsPerBar,
    BassHoldTime,
    RgbThreshold,
    XyThreshold,
    VjMode,
    BarRepeat,
    AssociationRepeat,
    DwellTime,  // offered entries; typing is taken too (parseDwellTime)
};
struct ValueBoxEntries {
    QStringList texts;
    std::vector<int> values;  // entry i stores values[i]
};
const ValueBoxEntries& valueBoxEntries(ValueBox box);
// The value entry i stores; nothing for an entry the box does not have.
std::optional<int> entryValue(ValueBox box, int entry);
// The entry showing a stored value; -1 when the box offers none for it.
int entryOf(ValueBox box, int value);

// What an edit history entry names: the box's or switch's caption ("小节数", "禁止低音").
QString valueBoxCaption(ValueBox box);
QString switchCaption(EffectSetting field);
QString allBeatsFlagCaption(AllBeatsFlag which);  // "无低音拍", "低音拍", "所有拍"

}  // namespace kx

#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kx {

// The typing rules, captions, lists and pages of the Material window that need nothing but their
// arguments.

// Colours are 0x00BBGGRR.
using MaterialColour = std::uint32_t;

// The colours the window marks state with. The four Virtual Fixture and "current" colours may be
// replaced by an installation's colour scheme; the others are fixed.
struct MaterialEditorColours {
    MaterialColour current = 0x807FFF;          // pink: the patched Virtual Fixture, listed codes
    MaterialColour shownFixture = 0x807FFF;     // pink: the Virtual Fixture on the faders
    MaterialColour selectedFixture = 0xC0C000;  // teal
    MaterialColour normalFixture = 0xC0C0C0;    // grey
    MaterialColour normal = 0xC0C0C0;           // grey buttons
    MaterialColour invalid = 0x807FFF;          // pink: a typed value that was not taken
    MaterialColour invalidTime = 0xFF00FF;      // magenta: a Step time of 60000 or more
    MaterialColour invalidCopyCount = 0xA07FFF;
    MaterialColour definedCode = 0x80C0FF;        // light orange: the code of the channel defined
    MaterialColour activeChannelPage = 0xE0B84C;  // blue
    MaterialColour activeLibraryPage = 0xC0FFC0;  // light green
};

// What a typed entry does to its field's background: leaves it, restores the normal one, or
// marks it.
enum class FieldMark { Keep, Normal, Invalid, InvalidTime };
// The colour of a marked field; nothing for the field's normal background (Keep is the caller's).
std::optional<MaterialColour> fieldColour(FieldMark mark, const MaterialEditorColours& colours);

// A whole number written in decimal (an optional sign, surrounding spaces allowed); nothing for
// anything else.
std::optional<int> parseWholeNumber(const QString& text);

// A time box: a whole number below 60000 that fits 16 signed bits is a time; 60000 or more is
// too large (ignored; the Step time box turns magenta); anything else is not a time.
enum class TimeEntryKind { Time, TooLarge, NotATime };
struct TimeEntry {
    TimeEntryKind kind = TimeEntryKind::NotATime;
    int tenths = 0;
};
TimeEntry parseTimeEntry(const QString& text);
inline constexpr int kTimeEntryLimit = 60000;

// Tenths of a second as the window shows them: "2.5秒".
QString timeText(int tenths);

// A whole number low..high; nothing for anything else.
std::optional<int> parseInRange(const QString& text, int low, int high);
// The whole numbers low..high as list entries.
QStringList numberList(int low, int high);

// "亮度百分比": "100" down to "0"; list position i is brightnessCut i.
QStringList brightnessList();
QStringList startModeList();
QStringList virtualDimmingList();
QStringList hardwareSpeedList();
QStringList motionModeList();

// The faders: 20 on screen, page 0 channels 1-20, page 1 channels 21-32.
inline constexpr int kFadersOnScreen = 20;
inline constexpr int kChannelPages = 2;
int channelPageOf(int channel);
// Position 1-20 of a channel's fader on its page.
int faderSlotOf(int channel);
// On screen: within the channel count and on the page shown.
bool channelOnScreen(int channel, int channelCount, int page);

// The code buttons of the definition picker and the Temporary Channel panel: codes 0-109 on the
// first page, 110-255 on the second, so every code has its button.
inline constexpr int kCodesOnFirstPage = 110;
inline constexpr int kCodePages = 2;
std::vector<int> codesOnPage(int page);
int codePageOf(int code);
// The page switch reads "下一页" on the first page and "上一页" on the second.
QString codePageButtonCaption(int page);

// A channel's definition box, and a code button: the Channel Function's name, or "T=" and the
// code when the name is empty.
QString definitionCaption(const QString& functionName, int code);

// The Motion Generator panel's parameters: the global row ("所有灯具") and the row of the shown
// Virtual Fixture ("单个灯具"), each entry with its label.
struct MotionParameterLabel {
    int entry;
    const char* label;
};
inline constexpr std::array<MotionParameterLabel, 1> kGlobalMotionLabels{{{1, "动作速度"}}};
inline constexpr std::array<MotionParameterLabel, 9> kFixtureMotionLabels{{{1, "中心点X"},
                                                                           {2, "百分比X"},
                                                                           {3, "锁定X"},
                                                                           {4, "中心点Y"},
                                                                           {5, "百分比Y"},
                                                                           {6, "锁定Y"},
                                                                           {7, "半径"},
                                                                           {8, "角度"},
                                                                           {9, "方向"}}};

// The time label's caption.
QString timeCaptionFor(bool perStepTime);
// "总步数：" and the Step count.
QString totalStepsCaption(int stepCount);

}  // namespace kx

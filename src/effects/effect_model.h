#pragma once

#include <QString>
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "materials/material.h"
#include "materials/material_bank_file.h"

namespace kx {

// An Effect arranges the Materials of its bank in time: a no-bass part and a bass part, each a
// sequence of Bars of equal length in Beats, and for every Beat the Materials that run on it.

inline constexpr int kParts = 2;
inline constexpr int kNoBassPart = 0;
inline constexpr int kBassPart = 1;
inline constexpr int kMaxBars = 48;
inline constexpr int kMaxBeats = 8;
inline constexpr int kBarsPerPage = 16;
inline constexpr int kEffectTextMax = 20;  // characters kept in the files
inline constexpr int kDefaultBassHoldTime = 40;
inline constexpr int kDefaultBeatDwellTime = 40;  // 4.0 s
inline constexpr int kMaxBarRepeat = 36;
inline constexpr int kMaxAssociationRepeat = 30;
inline constexpr int kMaxXyThreshold = 128;
inline constexpr int kMaxVjMode = 2;
inline constexpr int kVjModeDmx = 1;  // "Dmx512控制", the one mode the files keep
inline constexpr int kAssociationGroupSize = 4;

// A set of Materials of one bank: Material Number N at bit N - 1.
using MaterialSet = std::bitset<kMaterialsPerBank>;
// The Materials of every Beat a part can have, key (Bar - 1) x 8 + Beat - 1. One fixed block: an
// Effect copies, compares and is read from its file without an allocation per Beat. The block
// lives on the heap: the 50 Effects of a show would otherwise be over a megabyte wherever a table
// of them is held by value, on any thread's stack too. A copy is a copy of the whole block.
class BeatGrid {
  public:
    using Sets = std::array<MaterialSet, kMaxBars * kMaxBeats>;
    static constexpr std::size_t kBytes = sizeof(Sets);

    BeatGrid() : m_sets(std::make_unique<Sets>()) {}
    BeatGrid(const BeatGrid& other) : m_sets(std::make_unique<Sets>(*other.m_sets)) {}
    BeatGrid& operator=(const BeatGrid& other) {
        *m_sets = *other.m_sets;
        return *this;
    }
    // Moves copy as well: a grid moved from stays a valid, unchanged grid.
    BeatGrid(BeatGrid&& other) : BeatGrid(static_cast<const BeatGrid&>(other)) {}
    BeatGrid& operator=(BeatGrid&& other) { return *this = static_cast<const BeatGrid&>(other); }
    ~BeatGrid() = default;

    MaterialSet& operator[](std::size_t key) { return (*m_sets)[key]; }
    const MaterialSet& operator[](std::size_t key) const { return (*m_sets)[key]; }
    bool operator==(const BeatGrid& other) const { return *m_sets == *other.m_sets; }

  private:
    std::unique_ptr<Sets> m_sets;
};

struct BarSettings {
    std::uint8_t bassHold = 0;       // 低音保持, 0/1
    std::uint8_t repeat = 0;         // 小节重复次数, 0-36
    std::uint8_t beatDwellTime = 0;  // 拍子停留时间, tenths of a second

    bool operator==(const BarSettings&) const = default;
};

struct EffectPart {
    std::uint8_t barCount = 0;                 // 小节数, 0-48
    std::uint8_t beatsPerBar = 0;              // 拍数, 0-8
    std::array<BarSettings, kMaxBars> bars{};  // Bar b at b - 1
    // The beat grid. Beats outside barCount x beatsPerBar keep their selections in memory; the
    // files drop them.
    BeatGrid selections;

    bool operator==(const EffectPart&) const = default;
};

struct ModuleSettings {
    QString remark;                        // 模块备注
    std::uint8_t materialAssociation = 0;  // 素材关联: Slots 1-4, 5-8, 9-12 work as groups
    std::uint8_t associationRepeat = 0;    // 素材关联重复次数, 0-30

    bool operator==(const ModuleSettings&) const = default;
};

struct Effect {
    QString remark;  // 效果备注
    std::uint8_t independentBass = 0;
    std::uint8_t beatCorrespondence = 0;
    std::uint8_t correspondenceInvalid = 0;  // derived, never read from a file
    std::uint8_t bassDisabled = 0;
    std::uint8_t bassHoldTime = 0;
    std::uint8_t rgbThreshold = 0;  // 0-255
    std::uint8_t xyThreshold = 0;   // 0-128, 0 = the system default
    std::uint8_t vjMode = 0;        // 0 "正常显示", 1 "Dmx512控制", 2 "VJ自走"
    std::uint8_t bassSwitchJumpsBar = 0;
    std::array<EffectPart, kParts> parts;
    std::array<ModuleSettings, kModules> modules;  // Module m at m - 1
    MaterialSet allNoBassBeats;                    // runs on every Beat of the no-bass part
    MaterialSet allBassBeats;                      // every Beat of the bass part
    MaterialSet allBeats;                          // every Beat of both parts

    bool operator==(const Effect&) const = default;
};

// The 50 Effects of the show.
struct EffectTable {
    std::array<Effect, kEffectCount> effects;

    Effect& at(int e) { return effects.at(e - 1); }
    const Effect& at(int e) const { return effects.at(e - 1); }

    bool operator==(const EffectTable&) const = default;
};

bool isEffectNumber(int e);  // 1-50
int beatKey(int bar, int beat);

// Any barCount or beatsPerBar of either part not 0.
bool effectHasContent(const Effect& fx);
void clearAllEffects(EffectTable& t);
// Every field of the Effect; its Material Bank is the caller's (clearBank).
void clearEffect(Effect& fx);
// The Module's settings and its 12 Materials in bank; beat selections and Material flags stay.
void clearModule(Effect& fx, MaterialBank& bank, int module);
// bassHoldTime 0 -> 40; every beatDwellTime 0 of both parts -> 40.
void applyEffectDefaults(Effect& fx);
// beatCorrespondence on, and the parts cannot correspond (no independent bass, or different
// shapes).
bool correspondenceInvalid(const Effect& fx);
void updateCorrespondenceInvalid(Effect& fx);

// Effect-level byte fields and the values they take.
using EffectSetting = std::uint8_t Effect::*;
bool effectSettingAccepts(EffectSetting field, int value);
bool setEffectSetting(Effect& fx, EffectSetting field, int value);

// Editing: each refuses (false, nothing changed) a part, Bar, Beat, Module or Slot outside its
// range or a value outside the field's range.
bool setBarCount(Effect& fx, int part, int bars);
bool setBeatsPerBar(Effect& fx, int part, int beats);
bool setBarBassHold(Effect& fx, int part, int bar, int on);
bool setBarRepeat(Effect& fx, int part, int bar, int repeat);
bool setBeatDwellTime(Effect& fx, int part, int bar, int tenths);
bool setModuleRemark(Effect& fx, int module, const QString& remark);
bool setMaterialAssociation(Effect& fx, int module, int on);
bool setAssociationRepeat(Effect& fx, int module, int repeat);

enum class AllBeatsFlag { NoBassBeats, BassBeats, BothParts };
MaterialSet& allBeatsSet(Effect& fx, AllBeatsFlag which);
const MaterialSet& allBeatsSet(const Effect& fx, AllBeatsFlag which);
bool setAllBeatsFlag(Effect& fx, AllBeatsFlag which, int module, int slot, int on);
bool allBeatsFlag(const Effect& fx, AllBeatsFlag which, int module, int slot);

bool setBeatSelection(Effect& fx, int part, int bar, int beat, int module, int slot, int on);
bool beatSelected(const Effect& fx, int part, int bar, int beat, int module, int slot);
// The Materials selected on a Beat (empty outside the grid).
const MaterialSet& beatSelection(const Effect& fx, int part, int bar, int beat);
// The selections of Beats 1-8 and the settings of Bar `from` of part fromPart onto Bar `to` of
// part toPart; the Material flags are not the Bar's and stay.
bool copyBar(Effect& fx, int fromPart, int fromBar, int toPart, int toBar);
// No Material on any Beat 1-8 of the Bar; its settings stay.
bool clearBarSelections(Effect& fx, int part, int bar);

// Where the Effect editor stands; the preview plays the Beat it points at. The current Effect is
// the number of the open Material Bank, kept with the bank.
struct EffectEditorPosition {
    int module = 1;  // 1-20
    int slot = 1;    // 1-12
    int part = kNoBassPart;
    int bar = 1;                        // 1-48
    int beat = 0;                       // 0 none, 1-8
    std::array<int, kParts> barPage{};  // page n shows Bars 16n + 1 .. 16n + 16
};

}  // namespace kx

#include "effects/effect_model.h"

#include <vector>

namespace kx {

namespace {

bool inRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}
bool isPart(int p) {
    return p == kNoBassPart || p == kBassPart;
}
bool isBar(int b) {
    return inRange(b, 1, kMaxBars);
}
bool isBeat(int k) {
    return inRange(k, 1, kMaxBeats);
}
bool isModule(int m) {
    return inRange(m, 1, kModules);
}
bool isSlot(int s) {
    return inRange(s, 1, kSlotsPerModule);
}

bool setByte(std::uint8_t& member, int v, int lo, int hi) {
    if (!inRange(v, lo, hi)) return false;
    member = static_cast<std::uint8_t>(v);
    return true;
}

struct SettingSpec {
    EffectSetting field;
    int max;
};

const std::vector<SettingSpec>& settingSpecs() {
    static const std::vector<SettingSpec> specs{
        {&Effect::independentBass, 1}, {&Effect::beatCorrespondence, 1},
        {&Effect::bassDisabled, 1},    {&Effect::bassHoldTime, 255},
        {&Effect::rgbThreshold, 255},  {&Effect::xyThreshold, kMaxXyThreshold},
        {&Effect::vjMode, kMaxVjMode}, {&Effect::bassSwitchJumpsBar, 1},
    };
    return specs;
}

const MaterialSet kNoMaterials;

}  // namespace

bool isEffectNumber(int e) {
    return inRange(e, 1, kEffectCount);
}
int beatKey(int bar, int beat) {
    return (bar - 1) * kMaxBeats + beat - 1;
}

bool effectHasContent(const Effect& fx) {
    for (const EffectPart& p : fx.parts) {
        if (p.barCount != 0 || p.beatsPerBar != 0) return true;
    }
    return false;
}

void clearAllEffects(EffectTable& t) {
    t.effects.fill(Effect{});
}

void clearEffect(Effect& fx) {
    fx = Effect{};
}

void clearModule(Effect& fx, MaterialBank& bank, int module) {
    if (!isModule(module)) return;
    fx.modules[module - 1] = ModuleSettings{};
    for (int s = 1; s <= kSlotsPerModule; ++s)
        clearMaterial(bank, module, s);
}

void applyEffectDefaults(Effect& fx) {
    if (fx.bassHoldTime == 0) fx.bassHoldTime = kDefaultBassHoldTime;
    for (EffectPart& p : fx.parts) {
        for (BarSettings& b : p.bars) {
            if (b.beatDwellTime == 0) b.beatDwellTime = kDefaultBeatDwellTime;
        }
    }
}

bool correspondenceInvalid(const Effect& fx) {
    if (fx.beatCorrespondence != 1) return false;
    const EffectPart& a = fx.parts[kNoBassPart];
    const EffectPart& b = fx.parts[kBassPart];
    return !(fx.independentBass != 0 && a.barCount == b.barCount && a.beatsPerBar == b.beatsPerBar);
}

void updateCorrespondenceInvalid(Effect& fx) {
    fx.correspondenceInvalid = correspondenceInvalid(fx) ? 1 : 0;
}

bool effectSettingAccepts(EffectSetting field, int value) {
    for (const SettingSpec& s : settingSpecs()) {
        if (s.field == field) return inRange(value, 0, s.max);
    }
    return false;
}

bool setEffectSetting(Effect& fx, EffectSetting field, int value) {
    if (!effectSettingAccepts(field, value)) return false;
    fx.*field = static_cast<std::uint8_t>(value);
    return true;
}

bool setBarCount(Effect& fx, int part, int bars) {
    return isPart(part) && setByte(fx.parts[part].barCount, bars, 0, kMaxBars);
}

bool setBeatsPerBar(Effect& fx, int part, int beats) {
    return isPart(part) && setByte(fx.parts[part].beatsPerBar, beats, 0, kMaxBeats);
}

bool setBarBassHold(Effect& fx, int part, int bar, int on) {
    return isPart(part) && isBar(bar) && setByte(fx.parts[part].bars[bar - 1].bassHold, on, 0, 1);
}

bool setBarRepeat(Effect& fx, int part, int bar, int repeat) {
    return isPart(part) && isBar(bar) &&
           setByte(fx.parts[part].bars[bar - 1].repeat, repeat, 0, kMaxBarRepeat);
}

bool setBeatDwellTime(Effect& fx, int part, int bar, int tenths) {
    return isPart(part) && isBar(bar) &&
           setByte(fx.parts[part].bars[bar - 1].beatDwellTime, tenths, 0, 255);
}

bool setModuleRemark(Effect& fx, int module, const QString& remark) {
    if (!isModule(module)) return false;
    fx.modules[module - 1].remark = remark;
    return true;
}

bool setMaterialAssociation(Effect& fx, int module, int on) {
    return isModule(module) && setByte(fx.modules[module - 1].materialAssociation, on, 0, 1);
}

bool setAssociationRepeat(Effect& fx, int module, int repeat) {
    return isModule(module) &&
           setByte(fx.modules[module - 1].associationRepeat, repeat, 0, kMaxAssociationRepeat);
}

MaterialSet& allBeatsSet(Effect& fx, AllBeatsFlag which) {
    switch (which) {
        case AllBeatsFlag::NoBassBeats:
            return fx.allNoBassBeats;
        case AllBeatsFlag::BassBeats:
            return fx.allBassBeats;
        case AllBeatsFlag::BothParts:
            break;
    }
    return fx.allBeats;
}

const MaterialSet& allBeatsSet(const Effect& fx, AllBeatsFlag which) {
    return allBeatsSet(const_cast<Effect&>(fx), which);
}

bool setAllBeatsFlag(Effect& fx, AllBeatsFlag which, int module, int slot, int on) {
    if (!isModule(module) || !isSlot(slot) || !inRange(on, 0, 1)) return false;
    allBeatsSet(fx, which).set(materialNumber(module, slot) - 1, on != 0);
    return true;
}

bool allBeatsFlag(const Effect& fx, AllBeatsFlag which, int module, int slot) {
    return isModule(module) && isSlot(slot) &&
           allBeatsSet(fx, which).test(materialNumber(module, slot) - 1);
}

bool setBeatSelection(Effect& fx, int part, int bar, int beat, int module, int slot, int on) {
    if (!isPart(part) || !isBar(bar) || !isBeat(beat) || !isModule(module) || !isSlot(slot) ||
        !inRange(on, 0, 1)) {
        return false;
    }
    fx.parts[part].selections[beatKey(bar, beat)].set(materialNumber(module, slot) - 1, on != 0);
    return true;
}

bool beatSelected(const Effect& fx, int part, int bar, int beat, int module, int slot) {
    return isModule(module) && isSlot(slot) &&
           beatSelection(fx, part, bar, beat).test(materialNumber(module, slot) - 1);
}

const MaterialSet& beatSelection(const Effect& fx, int part, int bar, int beat) {
    if (!isPart(part) || !isBar(bar) || !isBeat(beat)) return kNoMaterials;
    return fx.parts[part].selections[beatKey(bar, beat)];
}

bool copyBar(Effect& fx, int fromPart, int fromBar, int toPart, int toBar) {
    if (!isPart(fromPart) || !isBar(fromBar) || !isPart(toPart) || !isBar(toBar)) return false;
    // Read the source whole first: the two Bars may be one.
    std::array<MaterialSet, kMaxBeats> beats;
    for (int k = 1; k <= kMaxBeats; ++k)
        beats[k - 1] = beatSelection(fx, fromPart, fromBar, k);
    for (int k = 1; k <= kMaxBeats; ++k)
        fx.parts[toPart].selections[beatKey(toBar, k)] = beats[k - 1];
    fx.parts[toPart].bars[toBar - 1] = fx.parts[fromPart].bars[fromBar - 1];
    return true;
}

bool clearBarSelections(Effect& fx, int part, int bar) {
    if (!isPart(part) || !isBar(bar)) return false;
    for (int k = 1; k <= kMaxBeats; ++k)
        fx.parts[part].selections[beatKey(bar, k)].reset();
    return true;
}

}  // namespace kx

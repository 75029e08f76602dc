#include "effects/effect_output.h"

namespace kx {

namespace {

bool passFits(const Material& m, int pass) {
    const int dimming = m.virtualDimming();
    return (pass == kPassPlain && (dimming == 0 || dimming == 1)) ||
           (pass == kPassMasterDimmer && dimming == 2);
}

bool plays(const Effect& fx, const MaterialBank& bank, const EffectEditorPosition& pos, int module,
           int slot, int pass) {
    const Material& m = bank.at(module, slot);
    if (!passFits(m, pass) || m.startMode() != 0) return false;
    return allBeatsFlag(fx, AllBeatsFlag::BothParts, module, slot) ||
           materialOnCurrentBeat(fx, pos, module, slot);
}

// The first Slot of a group whose Material has Steps; 0 when none has.
int groupCandidate(const MaterialBank& bank, int module, int firstSlot) {
    for (int s = firstSlot; s < firstSlot + kAssociationGroupSize; ++s) {
        if (bank.at(module, s).stepCount() > 0) return s;
    }
    return 0;
}

}  // namespace

bool Fun_发送一次模拟鼓点(const Effect& fx, JumpRequest& jump, SimulatedDrum& drum) {
    if (fx.bassDisabled == 1) return false;
    jump.request();
    drum.indicatorRefreshes = kDrumIndicatorRefreshes;
    return true;
}

void Fun_自动模拟鼓点(const Effect& fx, JumpRequest& jump, SimulatedDrum& drum) {
    if (drum.automatic.tick()) Fun_发送一次模拟鼓点(fx, jump, drum);
}

bool materialOnCurrentBeat(const Effect& fx, const EffectEditorPosition& pos, int module,
                           int slot) {
    if (pos.beat != 0 && beatSelected(fx, pos.part, pos.bar, pos.beat, module, slot)) return true;
    if (pos.part == kNoBassPart) return allBeatsFlag(fx, AllBeatsFlag::NoBassBeats, module, slot);
    if (pos.part == kBassPart) return allBeatsFlag(fx, AllBeatsFlag::BassBeats, module, slot);
    return false;
}

std::vector<int> effectBeatMaterials(const Effect& fx, const MaterialBank& bank,
                                     const EffectEditorPosition& pos) {
    std::vector<int> playing;
    const auto consider = [&](int module, int slot, int pass) {
        if (plays(fx, bank, pos, module, slot, pass)) {
            playing.push_back(materialNumber(module, slot));
        }
    };
    for (int pass : {kPassPlain, kPassMasterDimmer}) {
        for (int m = 1; m <= kModules; ++m) {
            if (fx.modules[m - 1].materialAssociation == 1) {
                for (int first = 1; first <= kSlotsPerModule; first += kAssociationGroupSize) {
                    if (const int s = groupCandidate(bank, m, first)) consider(m, s, pass);
                }
            } else {
                for (int s = 1; s <= kSlotsPerModule; ++s)
                    consider(m, s, pass);
            }
        }
    }
    return playing;
}

void effectOutputTick(int effect, const EffectTable& effects, const MaterialBank& bank,
                      const EffectEditorPosition& pos, const FixtureLibrary& lib,
                      MaterialOutput& engine, JumpRequest& jump, SimulatedDrum& drum,
                      DmxFrame& frame) {
    engine.beginTick(frame);
    if (!isEffectNumber(effect)) return;
    const Effect& fx = effects.at(effect);
    Fun_自动模拟鼓点(fx, jump, drum);
    const OutputMapCache::SamePatch samePatch(engine.maps(), lib);
    for (int number : effectBeatMaterials(fx, bank, pos)) {
        const Material& m = bank.byNumber(number);
        const ValueGrid grid = engine.advance(m, number, jump.active());
        engine.route(false, m, number, lib, grid, frame);
    }
}

}  // namespace kx

#pragma once

#include <vector>

#include "base/auto_drum.h"
#include "base/dmx_frame.h"
#include "effects/effect_model.h"
#include "fixtures/fixture_library.h"
#include "materials/material.h"
#include "materials/material_output.h"

namespace kx {

// The Effect editor's live preview: one Beat of the current Effect (the editor's part, Bar and
// Beat) composed from its running Materials through the Material output engine, tick by tick.
// Simulated drum beats reach the Materials as jump requests.

inline constexpr int kDrumIndicatorRefreshes = 10;

// The simulated drum: the editor's automatic drum and the refreshes left on its beat indicator.
struct SimulatedDrum {
    AutoDrum automatic;
    int indicatorRefreshes = 0;
};

// The passes of a tick: Materials whose virtualDimming is 0 or 1 first, then the master dimmers.
inline constexpr int kPassPlain = 0;
inline constexpr int kPassMasterDimmer = 2;

// One simulated drum beat: unless bass is disabled in fx, requests a jump and starts the beat
// indicator. True when the beat was raised.
bool Fun_发送一次模拟鼓点(const Effect& fx, JumpRequest& jump, SimulatedDrum& drum);
// The automatic drum beat of one tick: mode 1 raises a beat every 5 ticks, mode 2 every 10.
void Fun_自动模拟鼓点(const Effect& fx, JumpRequest& jump, SimulatedDrum& drum);

// The Material runs on the editor's Beat: selected there (Beat 1-8), or flagged for every Beat
// of the current part.
bool materialOnCurrentBeat(const Effect& fx, const EffectEditorPosition& pos, int module, int slot);

// The Materials (Material Numbers) that play this tick, in the order they are applied: pass 0
// then pass 2, Module by Module; an associated Module offers per group of four Slots only the
// first with Steps. A Material plays when its pass fits, it runs on the Beat (or on every Beat)
// and its start mode is "效果选择".
std::vector<int> effectBeatMaterials(const Effect& fx, const MaterialBank& bank,
                                     const EffectEditorPosition& pos);

// The view-9 handler of the output tick, called between the jump request's beginTick and
// endTick: clears frame and master-dimming buffer, runs the automatic drum beat, then advances
// and routes every playing Material of Effect `effect` (the open bank's). No Effect open: a
// dark frame.
void effectOutputTick(int effect, const EffectTable& effects, const MaterialBank& bank,
                      const EffectEditorPosition& pos, const FixtureLibrary& lib,
                      MaterialOutput& engine, JumpRequest& jump, SimulatedDrum& drum,
                      DmxFrame& frame);

}  // namespace kx

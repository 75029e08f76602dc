#include <gtest/gtest.h>

#include "effects/effect_output.h"

namespace kx {
namespace {

constexpr int kDimmerCode = 5;

// A room of single-channel fixtures 1-20 on page 0, fixture n at DMX address 10 n, and Materials
// of one Virtual Fixture, one dimmer channel, mapped to one fixture: what a Material plays shows
// in the frame at the address of its fixture.
struct Rig {
    FixtureLibrary lib;
    EffectTable effects;
    MaterialBank bank;
    EffectEditorPosition pos;
    MaterialOutput engine;
    JumpRequest jump;
    SimulatedDrum drum;
    DmxFrame frame{};
    int effect = 1;

    Rig() {
        for (int n = 1; n <= 20; ++n) {
            Fixture& f = lib.at(0, n);
            f.startAddress = static_cast<std::int16_t>(10 * n);
            f.channelCount = 2;
            f.functions[0] = kDimmerCode;
            f.functions[1] = kDimmerCode + 1;
        }
    }

    Effect& fx() { return effects.at(effect); }

    // Steps of the given values, each lasting `time` ticks, on fixture `fixture`.
    Material& material(int module, int slot, int fixture, std::initializer_list<int> values,
                       int time = 1) {
        Material& m = bank.at(module, slot);
        m.setFixtureCount(1);
        m.setChannelCount(1);
        m.setChannelFunction(1, kDimmerCode);
        m.setMapped(1, 0, fixture, true);
        m.setUnifiedTime(time);
        m.setStepCount(static_cast<int>(values.size()));
        int step = 1;
        for (int v : values)
            m.setValue(step++, 1, 1, v);
        return m;
    }

    // One output tick as live sending runs it: the request becomes active for this tick only.
    void tick() {
        jump.beginTick();
        effectOutputTick(effect, effects, bank, pos, lib, engine, jump, drum, frame);
        jump.endTick();
    }

    int at(int fixture) const { return frame[10 * fixture]; }
};

TEST(EffectOutput, WhichMaterialsPlayOnTheBeat) {
    Rig r;
    Effect& fx = r.fx();
    for (int s = 1; s <= 6; ++s)
        r.material(1, s, s, {100 + s});
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 1, 1, 1);
    setAllBeatsFlag(fx, AllBeatsFlag::NoBassBeats, 1, 2, 1);
    setAllBeatsFlag(fx, AllBeatsFlag::BassBeats, 1, 3, 1);
    setBeatSelection(fx, kBassPart, 2, 3, 1, 4, 1);
    setBeatSelection(fx, kNoBassPart, 2, 3, 1, 5, 1);
    setBeatSelection(fx, kBassPart, 2, 3, 1, 6, 1);
    r.bank.at(1, 6).setStartMode(1);  // "密集鼓点": the Controller's to trigger

    // No Beat chosen: only the all-Beats flags of both parts and of the current part.
    r.pos.part = kNoBassPart;
    r.pos.bar = 2;
    r.pos.beat = 0;
    EXPECT_EQ(effectBeatMaterials(fx, r.bank, r.pos), (std::vector<int>{1, 2}));
    r.pos.part = kBassPart;
    EXPECT_EQ(effectBeatMaterials(fx, r.bank, r.pos), (std::vector<int>{1, 3}));
    // Bass part, Bar 2, Beat 3: the selection joins; the dense-drum Material stays dark.
    r.pos.beat = 3;
    EXPECT_EQ(effectBeatMaterials(fx, r.bank, r.pos), (std::vector<int>{1, 3, 4}));
    r.tick();
    EXPECT_EQ(r.at(1), 101);
    EXPECT_EQ(r.at(2), 0);
    EXPECT_EQ(r.at(3), 103);
    EXPECT_EQ(r.at(4), 104);
    EXPECT_EQ(r.at(6), 0);
    // Another Bar or Beat, or the other part: the selection is not there.
    r.pos.bar = 1;
    EXPECT_EQ(effectBeatMaterials(fx, r.bank, r.pos), (std::vector<int>{1, 3}));
    r.pos.bar = 2;
    r.pos.part = kNoBassPart;
    EXPECT_EQ(effectBeatMaterials(fx, r.bank, r.pos), (std::vector<int>{1, 2, 5}));

    // No Effect open: a dark frame.
    r.effect = 0;
    r.tick();
    EXPECT_EQ(r.at(1), 0);
}

TEST(EffectOutput, AssociatedModulesPlayOneSlotPerGroup) {
    Rig r;
    Effect& fx = r.fx();
    setMaterialAssociation(fx, 2, 1);
    // Group 1: Slots 1 and 2 empty, Slot 3 has Steps, Slot 4 too but is never looked at.
    r.material(2, 3, 3, {33});
    r.material(2, 4, 4, {44});
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 2, 4, 1);
    // Group 2: Slot 5 has Steps but plays only by its own flags, which it lacks.
    r.material(2, 5, 5, {55});
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 2, 6, 1);
    r.material(2, 6, 6, {66});
    // Group 3: nothing with Steps.
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 2, 9, 1);
    EXPECT_TRUE(effectBeatMaterials(fx, r.bank, r.pos).empty());
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 2, 3, 1);
    EXPECT_EQ(effectBeatMaterials(fx, r.bank, r.pos), (std::vector<int>{15}));
    setMaterialAssociation(fx, 2, 0);
    // Unassociated, every flagged Slot runs, also one without Steps (it shows nothing).
    EXPECT_EQ(effectBeatMaterials(fx, r.bank, r.pos), (std::vector<int>{15, 16, 18, 21}));
}

TEST(EffectOutput, EveryMaterialOfTheNextTickFollowsAPatchChange) {
    Rig r;
    Effect& fx = r.fx();
    for (int s = 1; s <= 3; ++s) {
        r.material(1, s, s, {10 * s});
        setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 1, s, 1);
    }
    r.tick();
    EXPECT_EQ(r.at(1), 10);
    EXPECT_EQ(r.at(3), 30);
    // Fixtures 1 and 3 move up 5 addresses between two ticks: the first and the last Material
    // routed in the next tick both land at the new addresses.
    r.lib.at(0, 1).startAddress = 15;
    r.lib.at(0, 3).startAddress = 35;
    r.tick();
    EXPECT_EQ(r.at(1), 0);
    EXPECT_EQ(r.frame[15], 10);
    EXPECT_EQ(r.at(2), 20);
    EXPECT_EQ(r.frame[35], 30);
}

TEST(EffectOutput, MasterDimmersComeAfterTheMaterialsTheyDim) {
    Rig r;
    Effect& fx = r.fx();
    // Module 1: a master dimmer (channel 1 = 51 of 255, channel 2 routed to fixture 7's channel
    // 2 code). Module 2: a Material controlled by the master dimmer on that channel.
    Material& master = r.bank.at(1, 1);
    master.setFixtureCount(1);
    master.setChannelCount(2);
    master.setChannelFunction(1, kDimmerCode);
    master.setChannelFunction(2, kDimmerCode + 1);
    master.setMapped(1, 0, 7, true);
    master.setUnifiedTime(1);
    master.setStepCount(1);
    master.setValue(1, 1, 1, 51);
    master.setVirtualDimming(2);
    Material& dimmed = r.bank.at(2, 1);
    dimmed.setFixtureCount(1);
    dimmed.setChannelCount(1);
    dimmed.setChannelFunction(1, kDimmerCode + 1);
    dimmed.setMapped(1, 0, 7, true);
    dimmed.setUnifiedTime(1);
    dimmed.setStepCount(1);
    dimmed.setValue(1, 1, 1, 200);
    dimmed.setVirtualDimming(1);
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 1, 1, 1);
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 2, 1, 1);
    EXPECT_EQ(effectBeatMaterials(fx, r.bank, r.pos), (std::vector<int>{13, 1}));
    r.tick();
    EXPECT_EQ(r.frame[71], 40);  // 200 x 51 / 255
    EXPECT_EQ(r.frame[70], 0);   // the master channel itself goes nowhere
}

TEST(EffectOutput, MaterialsAdvanceOnlyWhilePlaying) {
    Rig r;
    Effect& fx = r.fx();
    r.material(1, 1, 1, {10, 20, 30}, 2);
    setBarCount(fx, kNoBassPart, 1);
    setBeatsPerBar(fx, kNoBassPart, 2);
    setBeatSelection(fx, kNoBassPart, 1, 1, 1, 1, 1);
    r.pos.beat = 1;
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i) {
        r.tick();
        seen.push_back(r.at(1));
    }
    EXPECT_EQ(seen, (std::vector<int>{10, 10, 20}));
    // On Beat 2 the Material is dark and stands still; back on Beat 1 it goes on where it stood.
    r.pos.beat = 2;
    r.tick();
    r.tick();
    EXPECT_EQ(r.at(1), 0);
    r.pos.beat = 1;
    for (int i = 0; i < 4; ++i) {
        r.tick();
        seen.push_back(r.at(1));
    }
    EXPECT_EQ(seen, (std::vector<int>{10, 10, 20, 20, 30, 30, 10}));
}

TEST(EffectOutput, DrumBeatsReachTheJumps) {
    Rig r;
    Effect& fx = r.fx();
    // jumpSize 1: every Step is held until a jump request.
    r.material(1, 1, 1, {10, 20, 30}).setJumpSize(1);
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 1, 1, 1);
    r.tick();
    r.tick();
    EXPECT_EQ(r.at(1), 10);

    // A manual beat raised between ticks is active on the next one and moves play on after it.
    EXPECT_TRUE(Fun_发送一次模拟鼓点(fx, r.jump, r.drum));
    EXPECT_EQ(r.drum.indicatorRefreshes, kDrumIndicatorRefreshes);
    r.tick();
    EXPECT_EQ(r.at(1), 10);
    r.tick();
    EXPECT_EQ(r.at(1), 20);
    r.tick();
    EXPECT_EQ(r.at(1), 20);

    // Automatic mode 1: a beat every 5 ticks, raised inside the tick, seen on the following one.
    r.drum.automatic.mode = AutoDrum::HalfSecond;
    std::vector<int> seen;
    for (int i = 0; i < 12; ++i) {
        r.tick();
        seen.push_back(r.at(1));
    }
    // Counter 1..6: the beat is raised on the 6th tick, active on the 7th; again on the 11th.
    EXPECT_EQ(seen, (std::vector<int>{20, 20, 20, 20, 20, 20, 20, 30, 30, 30, 30, 30}));
    EXPECT_EQ(r.drum.automatic.counter, 2);

    // Mode 2 every 10 ticks.
    r.drum = SimulatedDrum{{AutoDrum::OneSecond, 0}, 0};
    int beats = 0;
    for (int i = 0; i < 31; ++i) {
        r.tick();
        if (r.jump.state == 1) ++beats;
    }
    EXPECT_EQ(beats, 3);  // raised on ticks 11, 21 and 31

    // Bass disabled: neither manual nor automatic beats reach the Materials.
    setEffectSetting(fx, &Effect::bassDisabled, 1);
    r.drum = SimulatedDrum{{AutoDrum::HalfSecond, 0}, 0};
    r.tick();  // spends the request the last automatic beat left
    r.tick();
    const int before = r.at(1);
    EXPECT_FALSE(Fun_发送一次模拟鼓点(fx, r.jump, r.drum));
    for (int i = 0; i < 20; ++i)
        r.tick();
    EXPECT_EQ(r.at(1), before);
    EXPECT_EQ(r.jump.state, 0);
    EXPECT_EQ(r.drum.indicatorRefreshes, 0);
}

}  // namespace
}  // namespace kx

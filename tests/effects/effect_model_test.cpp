#include <gtest/gtest.h>

#include "effects/effect_model.h"

namespace kx {
namespace {

TEST(EffectModel, ContentAndCorrespondence) {
    Effect fx;
    EXPECT_FALSE(effectHasContent(fx));
    ASSERT_TRUE(setBarCount(fx, kNoBassPart, 4));  // Bars without Beats still define it
    EXPECT_TRUE(effectHasContent(fx));
    fx = Effect{};
    ASSERT_TRUE(setBeatsPerBar(fx, kBassPart, 2));
    EXPECT_TRUE(effectHasContent(fx));

    // Correspondence needs independent bass and two parts of the same shape.
    Effect c;
    setEffectSetting(c, &Effect::beatCorrespondence, 1);
    for (int part : {kNoBassPart, kBassPart}) {
        setBarCount(c, part, 2);
        setBeatsPerBar(c, part, 4);
    }
    updateCorrespondenceInvalid(c);
    EXPECT_EQ(c.correspondenceInvalid, 1);  // same shape, but no independent bass
    setEffectSetting(c, &Effect::independentBass, 1);
    updateCorrespondenceInvalid(c);
    EXPECT_EQ(c.correspondenceInvalid, 0);
    setBeatsPerBar(c, kBassPart, 3);
    updateCorrespondenceInvalid(c);
    EXPECT_EQ(c.correspondenceInvalid, 1);
    setEffectSetting(c, &Effect::beatCorrespondence, 0);
    EXPECT_FALSE(correspondenceInvalid(c));
}

TEST(EffectModel, DefaultsAndClearing) {
    Effect fx;
    setBeatDwellTime(fx, kBassPart, 7, 80);
    applyEffectDefaults(fx);
    EXPECT_EQ(fx.bassHoldTime, 40);
    for (int part : {kNoBassPart, kBassPart}) {
        for (int bar = 1; bar <= kMaxBars; ++bar) {
            const int expected = (part == kBassPart && bar == 7) ? 80 : 40;
            EXPECT_EQ(fx.parts[part].bars[bar - 1].beatDwellTime, expected);
        }
    }

    // clearModule empties the Module and its Materials, and keeps the grid and the flags.
    MaterialBank bank;
    Material& m = bank.at(3, 2);
    m.setStepCount(2);
    m.setFixtureCount(1);
    m.setChannelCount(1);
    m.setRemark("m");
    ASSERT_TRUE(materialExists(bank, 3, 2));
    setBeatSelection(fx, kNoBassPart, 1, 1, 3, 2, 1);
    setAllBeatsFlag(fx, AllBeatsFlag::BothParts, 3, 2, 1);
    setModuleRemark(fx, 3, "module");
    setMaterialAssociation(fx, 3, 1);
    setAssociationRepeat(fx, 3, 30);
    clearModule(fx, bank, 3);
    EXPECT_EQ(fx.modules[2], ModuleSettings{});
    EXPECT_FALSE(materialExists(bank, 3, 2));
    EXPECT_TRUE(bank.at(3, 2).remark().isEmpty());
    EXPECT_TRUE(beatSelected(fx, kNoBassPart, 1, 1, 3, 2));
    EXPECT_TRUE(allBeatsFlag(fx, AllBeatsFlag::BothParts, 3, 2));

    EffectTable t;
    t.at(50) = fx;
    clearEffect(t.at(50));
    EXPECT_EQ(t, EffectTable{});
    t.at(1) = fx;
    clearAllEffects(t);
    EXPECT_EQ(t, EffectTable{});
}

TEST(EffectModel, BeatGridKeepsOnlySelectingBeats) {
    Effect fx;
    EXPECT_TRUE(setBeatSelection(fx, kBassPart, 48, 8, 20, 12, 1));
    EXPECT_TRUE(beatSelected(fx, kBassPart, 48, 8, 20, 12));
    EXPECT_FALSE(beatSelected(fx, kNoBassPart, 48, 8, 20, 12));
    EXPECT_EQ(beatSelection(fx, kBassPart, 48, 8).count(), 1u);
    EXPECT_TRUE(setBeatSelection(fx, kBassPart, 48, 8, 20, 12, 0));
    EXPECT_EQ(fx, Effect{});  // an emptied Beat leaves nothing behind

    EXPECT_FALSE(setBeatSelection(fx, 2, 1, 1, 1, 1, 1));
    EXPECT_FALSE(setBeatSelection(fx, 0, 49, 1, 1, 1, 1));
    EXPECT_FALSE(setBeatSelection(fx, 0, 1, 9, 1, 1, 1));
    EXPECT_FALSE(setBeatSelection(fx, 0, 1, 0, 1, 1, 1));
    EXPECT_FALSE(setBeatSelection(fx, 0, 1, 1, 21, 1, 1));
    EXPECT_FALSE(setBeatSelection(fx, 0, 1, 1, 1, 13, 1));
    EXPECT_FALSE(setBeatSelection(fx, 0, 1, 1, 1, 1, 2));
    EXPECT_TRUE(beatSelection(fx, 0, 0, 0).none());
    EXPECT_EQ(fx, Effect{});
}

// Copies of an Effect are independent, a moved-from one is still whole, and a table of all 50
// stays small enough to be held by value on a thread's stack.
TEST(EffectModel, EffectsCopyTheirBeatGridsWhole) {
    Effect a;
    ASSERT_TRUE(setBeatSelection(a, kBassPart, 3, 2, 7, 5, 1));
    Effect b = a;
    ASSERT_TRUE(setBeatSelection(b, kBassPart, 3, 2, 7, 5, 0));
    EXPECT_TRUE(beatSelected(a, kBassPart, 3, 2, 7, 5));
    EXPECT_NE(a, b);
    b = a;
    EXPECT_EQ(a, b);
    const Effect moved = std::move(b);
    EXPECT_EQ(moved, a);
    EXPECT_TRUE(beatSelected(b, kBassPart, 3, 2, 7, 5));  // NOLINT(bugprone-use-after-move)
    static_assert(sizeof(EffectTable) < 256 * 1024);
}

}  // namespace
}  // namespace kx

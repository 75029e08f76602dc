#include <gtest/gtest.h>

#include "base/file_io.h"
#include "effects/effect_editor.h"
#include "materials/material_bank_file.h"
#include "materials/memory_images.h"
#include "show/show.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

constexpr int kCode = 7;

// Images whose writes can be made to fail, as a full disk does.
struct FailingImages : test::MemoryImages {
    bool setImage(int effect, const QByteArray& image) override {
        return (failFrom == 0 || effect < failFrom) && MemoryImages::setImage(effect, image);
    }
    int failFrom = 0;  // the writes of this Effect and the ones above fail; 0 none
};

Material sample(int seed) {
    Material m;
    m.setFixtureCount(2);
    m.setChannelCount(2);
    m.setChannelFunction(1, kCode);
    m.setChannelFunction(2, kCode + 1);
    m.setStepCount(3);
    m.setRemark(QStringLiteral("素材%1").arg(seed));
    for (int s = 1; s <= 3; ++s)
        m.setValue(s, 1, 1, (seed * 31 + s) % 256);
    m.setMapped(1, 0, 1, true);
    return m;
}

// The Effect editor over a whole show, Effect 3 open with Materials in its bank and Effect 5's
// Materials in its image.
class EffectUndoTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        for (int n = 1; n <= 2; ++n) {
            Fixture& f = show.library.at(0, n);
            f.startAddress = static_cast<std::int16_t>(10 * n);
            f.channelCount = 2;
            f.functions[0] = kCode;
            f.functions[1] = kCode + 1;
        }
        MaterialBank five;
        five.at(2, 7) = sample(5);
        ASSERT_TRUE(saveEffectImage(images, 5, five, show.library));
        show.currentEffect = 3;
        show.materials.at(1, 1) = sample(3);
        show.materials.at(20, 12) = sample(4);
        setBarCount(show.effects.at(3), kNoBassPart, 20);
        setBeatsPerBar(show.effects.at(3), kNoBassPart, 4);
        editor.enter();
        editor.setHistory(&history, [this] { ++reveals; });
    }

    // The whole show as a save writes it.
    QByteArray save() {
        StagedEffectImages staged;
        const ShowBuild build = buildShowFile(showSections(show, images, staged), "stamp");
        EXPECT_TRUE(build.bytes);
        return build.bytes.value_or(QByteArray());
    }

    // One store is one entry; undo gives back the show as it was and redo as the store left it.
    void expectRoundTrip(const std::function<void()>& store, const QString& tip) {
        const QByteArray before = save();
        const int entries = history.entryCount();
        store();
        history.seal();
        const QByteArray after = save();
        ASSERT_NE(after, before) << tip.toStdString();
        EXPECT_EQ(history.entryCount(), entries + 1) << tip.toStdString();
        EXPECT_EQ(history.undoTip(), QStringLiteral("撤销：") + tip);
        ASSERT_TRUE(history.undo().done);
        EXPECT_EQ(save(), before) << tip.toStdString();
        ASSERT_TRUE(history.redo().done);
        EXPECT_EQ(save(), after) << tip.toStdString();
    }

    Outcome open(int effect) {
        return switchEffect(effect, show.currentEffect, show.materials, show.library, images);
    }

    Show show;
    FailingImages images;
    MaterialOutput engine;
    std::uint8_t jump = 0;
    EditHistory history;
    int reveals = 0;
    EffectEditor editor{
        {show.effects, show.materials, show.currentEffect, show.library, images, engine, jump}};
    const FileDialogs dialogs{fake, fake};
};

TEST_F(EffectUndoTest, EveryKindOfStoreIsOneEntryGivingBackTheShowBytes) {
    expectRoundTrip([&] { editor.toggleBeatSelection(2, 3); }, "效果 3 小节 1 拍 3");
    expectRoundTrip([&] { editor.toggleAllBeatsFlag(AllBeatsFlag::BassBeats, 4); },
                    "效果 3 低音拍");
    expectRoundTrip([&] { editor.setSwitch(&Effect::independentBass, true); },
                    "效果 3 开启独立低音");
    expectRoundTrip([&] { editor.chooseEntry(ValueBox::RgbThreshold, 200); }, "效果 3 RGB阀值");
    expectRoundTrip([&] { editor.setBarBassHold(true); }, "效果 3 低音保持");
    expectRoundTrip([&] { editor.setMaterialAssociation(true); }, "效果 3 模块 1 4素材关联");
    expectRoundTrip(
        [&] {
            for (const char* text : {"A", "AB", "ABC"})
                editor.setEffectRemark(text);
        },
        "效果 3 效果备注");
    expectRoundTrip(
        [&] {
            editor.typeDwellTime("1");
            editor.typeDwellTime("12");
        },
        "效果 3 拍子停留时间");
    editor.copyBar();
    editor.chooseBar(kNoBassPart, 2);
    expectRoundTrip(
        [&] {
            fake.yesNoAnswers = {true};
            ASSERT_TRUE(editor.pasteBar(fake).done);
        },
        "效果 3 粘贴小节");
    expectRoundTrip(
        [&] {
            fake.yesNoAnswers = {true};
            ASSERT_TRUE(editor.clearEffect(fake).done);
        },
        "清空效果");
    EXPECT_EQ(reveals, 20);
}

TEST_F(EffectUndoTest, ClearingTheEffectIsUndoneWithItsMaterials) {
    const Effect fx = show.effects.at(3);
    const MaterialBank bank = show.materials;
    fake.yesNoAnswers = {true};
    ASSERT_TRUE(editor.clearEffect(fake).done);
    EXPECT_EQ(show.materials, MaterialBank{});
    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(show.effects.at(3), fx);
    EXPECT_EQ(show.materials, bank);
    EXPECT_EQ(history.redoTip(), "重做：清空效果");
}

TEST_F(EffectUndoTest, RefusedAndNavigatingStoresLeaveNoEntry) {
    editor.chooseBar(kNoBassPart, 5);
    editor.chooseModule(4);
    editor.chooseSlot(6);
    editor.turnPage(kNoBassPart);
    EXPECT_FALSE(editor.typeDwellTime("256"));
    fake.yesNoAnswers = {false};
    EXPECT_FALSE(editor.clearEffect(fake).done);
    editor.setSwitch(&Effect::bassDisabled, false);  // already off
    EXPECT_EQ(history.entryCount(), 0);

    // Typing into one box is one entry until the run is sealed; another box starts another.
    editor.setModuleRemark("x");
    editor.setModuleRemark("xy");
    editor.setEffectRemark("e");
    EXPECT_EQ(history.entryCount(), 2);
    history.seal();
    editor.setEffectRemark("ef");
    EXPECT_EQ(history.entryCount(), 3);

    // With no Effect open the edits go to a blank Effect and nothing is recorded.
    ASSERT_TRUE(open(0).done);
    editor.toggleBeatSelection(1, 1);
    EXPECT_EQ(history.entryCount(), 3);
}

TEST_F(EffectUndoTest, UndoPutsTheEditorBackOnAValidPosition) {
    editor.turnPage(kNoBassPart);
    editor.chooseBar(kNoBassPart, 2);  // Bar 18
    editor.chooseBeat(4);
    editor.chooseEntry(ValueBox::BarCount, 5);
    editor.chooseEntry(ValueBox::BeatsPerBar, 2);
    editor.chooseModule(9);
    ASSERT_TRUE(history.undo().done);  // four Beats again, on the Module of the edit
    EXPECT_EQ(editor.position().module, 1);
    EXPECT_EQ(editor.position().bar, 5);
    EXPECT_EQ(editor.position().beat, 4);
    ASSERT_TRUE(history.undo().done);  // twenty Bars: Bar 18 on the second page
    EXPECT_EQ(editor.position().bar, 18);
    EXPECT_EQ(editor.position().barPage[kNoBassPart], 1);
    ASSERT_TRUE(history.redo().done);
    EXPECT_EQ(editor.position().bar, 5);
    EXPECT_EQ(editor.position().barPage[kNoBassPart], 0);
    ASSERT_TRUE(history.redo().done);
    EXPECT_EQ(editor.position().beat, 1);

    EffectEditorPosition bass;
    bass.part = kBassPart;
    bass.bar = 3;
    EXPECT_EQ(validPosition(show.effects.at(3), bass).part, kNoBassPart);
    EXPECT_EQ(validPosition(Effect{}, bass).bar, 1);
}

TEST_F(EffectUndoTest, UndoAcrossTwoEffectsSwitchesTheBankAndBack) {
    const MaterialBank three = show.materials;
    editor.toggleBeatSelection(1, 2);
    const Effect threeEdited = show.effects.at(3);
    ASSERT_TRUE(open(5).done);
    const MaterialBank five = show.materials;
    ASSERT_EQ(five.at(2, 7), sample(5));
    fake.yesNoAnswers = {true};
    ASSERT_TRUE(editor.clearEffect(fake).done);

    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(show.currentEffect, 5);
    EXPECT_EQ(show.materials, five);
    ASSERT_TRUE(history.undo().done);  // Effect 3's edit: 5 goes to its image, 3 opens
    EXPECT_EQ(show.currentEffect, 3);
    EXPECT_EQ(show.materials, three);
    EXPECT_FALSE(beatSelected(show.effects.at(3), kNoBassPart, 1, 2, 1, 1));
    MaterialBank stored;
    ASSERT_TRUE(loadEffectImage(images, 5, stored));
    EXPECT_EQ(stored, five);

    ASSERT_TRUE(history.redo().done);
    EXPECT_EQ(show.effects.at(3), threeEdited);
    ASSERT_TRUE(history.redo().done);  // the clear again, on Effect 5
    EXPECT_EQ(show.currentEffect, 5);
    EXPECT_EQ(show.materials, MaterialBank{});
    ASSERT_TRUE(loadEffectImage(images, 3, stored));
    EXPECT_EQ(stored, three);
}

TEST_F(EffectUndoTest, ARefusedBankSwitchLeavesHistoryAndShowAsTheyWere) {
    editor.toggleBeatSelection(1, 2);
    ASSERT_TRUE(open(5).done);
    const EffectTable effects = show.effects;
    const MaterialBank bank = show.materials;
    const auto stored = images.images;
    images.failFrom = 1;
    const Outcome out = history.undo();
    EXPECT_FALSE(out.done);
    EXPECT_EQ(out.message, kMsgMaterialSaveFailed);
    EXPECT_EQ(show.currentEffect, 5);
    EXPECT_EQ(show.effects, effects);
    EXPECT_EQ(show.materials, bank);
    EXPECT_EQ(images.images, stored);
    EXPECT_TRUE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    images.failFrom = 0;
    EXPECT_TRUE(history.undo().done);
}

TEST_F(EffectUndoTest, ImportingAllEffectsIsOneEntryWithEveryImage) {
    // The file: a show whose Effect 9 has Materials and whose Effect 2 has a remark.
    MaterialBank nine;
    nine.at(4, 4) = sample(9);
    EffectTable other;
    other.at(2).remark = "imported";
    test::MemoryImages otherImages;
    ASSERT_TRUE(saveEffectImage(otherImages, 9, nine, show.library));
    MaterialBank none;
    const auto file = buildAllEffectsFile(other, none, 0, show.library, otherImages);
    ASSERT_TRUE(file);
    const QString path = fake.programDir() + "/all.K_AXG";
    ASSERT_TRUE(writeWholeFile(path, *file));

    EffectFilesContext ctx{show.effects, show.materials, show.currentEffect, show.library, images};
    const QByteArray beforeBytes = save();  // Effect 3's bank goes to its image too
    const AllEffectsState before = takeAllEffects(ctx);
    fake.yesNoAnswers = {true};
    fake.dialogAnswers = {path};
    ASSERT_TRUE(importAllEffects(ctx, dialogs, &history, [this] { ++reveals; }).done);
    EXPECT_EQ(history.entryCount(), 1);
    EXPECT_EQ(history.undoTip(), "撤销：导入全部效果");
    EXPECT_EQ(show.currentEffect, 0);
    const AllEffectsState after = takeAllEffects(ctx);
    const QByteArray afterBytes = save();

    ASSERT_TRUE(history.undo().done);
    EXPECT_EQ(takeAllEffects(ctx), before);
    EXPECT_EQ(save(), beforeBytes);
    ASSERT_TRUE(history.redo().done);
    EXPECT_EQ(takeAllEffects(ctx), after);
    EXPECT_EQ(save(), afterBytes);
    EXPECT_EQ(reveals, 2);

    // An image that cannot be written refuses the undo; Effect 3's, written already, goes back.
    ASSERT_FALSE(before.images[2].isEmpty());
    images.failFrom = 5;
    const Outcome out = history.undo();
    EXPECT_EQ(out.message, kMsgMaterialSaveFailed);
    EXPECT_EQ(takeAllEffects(ctx), after);
    EXPECT_TRUE(history.canUndo());
    EXPECT_GT(snapshotBytes(before), snapshotBytes(after));
}

}  // namespace
}  // namespace kx

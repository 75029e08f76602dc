#include <gtest/gtest.h>

#include <QFile>

#include "effects/effect_editor.h"
#include "materials/memory_images.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

// The Effect editor's rules and edits on Effect 3 of a show, without a display.
class EffectEditorTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        editor.enter();
        images.images[3] = "image";
    }

    Effect& fx() { return effects.at(3); }
    void shape(int part, int bars, int beats) {
        setBarCount(fx(), part, bars);
        setBeatsPerBar(fx(), part, beats);
    }
    // Takes the beat request as the output tick does, so the next one can be seen.
    bool beatRaised() {
        const bool raised = jump == 1;
        jump = 0;
        return raised;
    }

    EffectTable effects;
    MaterialBank bank;
    int current = 3;
    FixtureLibrary lib;
    test::MemoryImages images;
    MaterialOutput engine;
    std::uint8_t jump = 0;
    EffectEditor editor{{effects, bank, current, lib, images, engine, jump}};
};

TEST_F(EffectEditorTest, TwentyBarsTakeTwoPagesAndTheBassPartNeedsIndependentBass) {
    shape(kNoBassPart, 20, 4);
    shape(kBassPart, 20, 4);
    EXPECT_TRUE(pageButtonVisible(fx(), kNoBassPart));
    EXPECT_FALSE(pageButtonVisible(fx(), kBassPart));
    EXPECT_FALSE(barButtonVisible(fx(), kBassPart, 0, 1));
    EXPECT_EQ(barPageCaption(editor.shownPage(kNoBassPart)), "1-16");
    editor.turnPage(kNoBassPart);
    EXPECT_EQ(barPageCaption(editor.shownPage(kNoBassPart)), "17-32");
    EXPECT_TRUE(barButtonVisible(fx(), kNoBassPart, 1, 4));
    EXPECT_FALSE(barButtonVisible(fx(), kNoBassPart, 1, 5));
    editor.chooseBar(kNoBassPart, 3);
    EXPECT_EQ(editor.position().bar, 19);
    EXPECT_EQ(barFrameTitle(kNoBassPart, 19), "无低音小节 [19]");
    editor.turnPage(kNoBassPart);
    EXPECT_EQ(editor.shownPage(kNoBassPart), 0);
    EXPECT_EQ(editor.position().bar, 19);  // the page does not choose a Bar

    fx().independentBass = 1;
    EXPECT_TRUE(pageButtonVisible(fx(), kBassPart));
    EXPECT_TRUE(barButtonVisible(fx(), kBassPart, 0, 16));
    editor.chooseBar(kBassPart, 2);
    EXPECT_EQ(barFrameTitle(editor.position().part, editor.position().bar), "低音小节 [2]");
    // Fewer Bars than the page shows: the part falls back to the pages it has.
    editor.turnPage(kBassPart);
    setBarCount(fx(), kBassPart, 12);
    EXPECT_EQ(editor.shownPage(kBassPart), 0);
    EXPECT_FALSE(pageButtonVisible(fx(), kBassPart));
}

TEST_F(EffectEditorTest, NextBeatWalksBeatsBarsAndPagesAndWrapsWithinThePart) {
    EXPECT_FALSE(editor.nextBeat());  // no Bars, no Beats
    shape(kNoBassPart, 20, 3);
    editor.chooseBar(kNoBassPart, 16);
    editor.chooseBeat(3);
    ASSERT_TRUE(editor.nextBeat());
    EXPECT_EQ(editor.position().bar, 17);
    EXPECT_EQ(editor.position().beat, 1);
    EXPECT_EQ(editor.shownPage(kNoBassPart), 1);
    EXPECT_TRUE(beatRaised());
    editor.nextBeat();
    EXPECT_EQ(editor.position().beat, 2);

    editor.chooseBar(kNoBassPart, 4);  // Bar 20, the last
    editor.chooseBeat(3);
    editor.nextBeat();
    EXPECT_EQ(editor.position().part, kNoBassPart);
    EXPECT_EQ(editor.position().bar, 1);
    EXPECT_EQ(editor.position().beat, 1);
    EXPECT_EQ(editor.shownPage(kNoBassPart), 0);

    // Fewer Beats than the current one: Beat 1 at the next redraw; none without Beats.
    editor.chooseBeat(3);
    setBeatsPerBar(fx(), kNoBassPart, 2);
    editor.correctBeat();
    EXPECT_EQ(editor.position().beat, 1);
    setBeatsPerBar(fx(), kNoBassPart, 0);
    editor.correctBeat();
    EXPECT_EQ(editor.position().beat, 0);
}

TEST_F(EffectEditorTest, GridClicksToggleTheSlotOnTheBeatAndPreviewIt) {
    shape(kNoBassPart, 2, 8);
    editor.chooseModule(4);
    editor.toggleBeatSelection(3, 8);
    EXPECT_TRUE(beatSelected(fx(), kNoBassPart, 1, 8, 4, 3));
    EXPECT_EQ(editor.position().beat, 8);
    EXPECT_TRUE(beatRaised());
    EXPECT_EQ(editor.drum().indicatorRefreshes, kDrumIndicatorRefreshes);
    editor.toggleBeatSelection(3, 8);
    EXPECT_FALSE(beatSelected(fx(), kNoBassPart, 1, 8, 4, 3));
    editor.toggleAllBeatsFlag(AllBeatsFlag::BassBeats, 12);
    EXPECT_TRUE(allBeatsFlag(fx(), AllBeatsFlag::BassBeats, 4, 12));

    // Association offers the first Slot of each group; the others keep their selections.
    editor.toggleBeatSelection(2, 1);
    editor.setMaterialAssociation(true);
    std::vector<int> rows;
    for (int s = 1; s <= kSlotsPerModule; ++s)
        if (gridRowVisible(fx(), 4, s)) rows.push_back(s);
    EXPECT_EQ(rows, (std::vector<int>{1, 5, 9}));
    EXPECT_TRUE(beatSelected(fx(), kNoBassPart, 1, 1, 4, 2));
    EXPECT_TRUE(beatColumnVisible(fx(), kNoBassPart, 8));
    setBeatsPerBar(fx(), kNoBassPart, 5);
    EXPECT_FALSE(beatColumnVisible(fx(), kNoBassPart, 6));
}

TEST_F(EffectEditorTest, PasteCopiesEveryModuleAndTheBarSettingsAcrossParts) {
    shape(kNoBassPart, 4, 8);
    shape(kBassPart, 6, 8);
    fx().independentBass = 1;
    for (int m = 1; m <= kModules; ++m)
        setBeatSelection(fx(), kNoBassPart, 2, 1 + m % 8, m, 1 + m % 12, 1);
    setBarBassHold(fx(), kNoBassPart, 2, 1);
    setBarRepeat(fx(), kNoBassPart, 2, 7);
    setBeatDwellTime(fx(), kNoBassPart, 2, 160);
    setBeatSelection(fx(), kBassPart, 5, 8, 1, 1, 1);  // overwritten
    setAllBeatsFlag(fx(), AllBeatsFlag::BothParts, 2, 2, 1);

    EXPECT_EQ(editor.pasteBar(fake).message, "没有复制内容！");
    editor.chooseBar(kNoBassPart, 2);
    editor.copyBar();
    editor.chooseBar(kBassPart, 5);
    EXPECT_FALSE(editor.pasteBar(fake).done);  // answered No
    EXPECT_TRUE(beatSelected(fx(), kBassPart, 5, 8, 1, 1));
    fake.yesNoAnswers = {true};
    ASSERT_TRUE(editor.pasteBar(fake).done);
    EXPECT_EQ(fake.questions.back(), "确认要覆盖当前小节?");
    for (int k = 1; k <= kMaxBeats; ++k)
        EXPECT_EQ(beatSelection(fx(), kBassPart, 5, k), beatSelection(fx(), kNoBassPart, 2, k));
    EXPECT_TRUE(beatSelected(fx(), kBassPart, 5, 1 + 20 % 8, 20, 1 + 20 % 12));
    EXPECT_FALSE(beatSelected(fx(), kBassPart, 5, 8, 1, 1));
    EXPECT_EQ(fx().parts[kBassPart].bars[4], (BarSettings{1, 7, 160}));
    EXPECT_TRUE(allBeatsFlag(fx(), AllBeatsFlag::BothParts, 2, 2));

    fake.yesNoAnswers = {true};
    ASSERT_TRUE(editor.clearBar(fake).done);
    EXPECT_EQ(fake.questions.back(), "是否清空当前小节拍子选择?");
    for (int k = 1; k <= kMaxBeats; ++k)
        EXPECT_TRUE(beatSelection(fx(), kBassPart, 5, k).none());
    EXPECT_EQ(fx().parts[kBassPart].bars[4], (BarSettings{1, 7, 160}));

    // Entering again (another Effect chosen meanwhile) forgets the copy.
    editor.enter();
    EXPECT_EQ(editor.pasteBar(fake).message, "没有复制内容！");
}

TEST_F(EffectEditorTest, DrumBeatsFlashTheIndicatorUnlessBassIsDisabled) {
    shape(kNoBassPart, 2, 2);
    EXPECT_TRUE(editor.sendDrumBeat());
    EXPECT_TRUE(beatRaised());
    int flashes = 0;
    while (editor.indicatorTick())
        ++flashes;
    EXPECT_EQ(flashes, 10);

    fx().bassDisabled = 1;
    editor.chooseBeat(2);
    editor.nextBeat();
    EXPECT_FALSE(editor.sendDrumBeat());
    EXPECT_FALSE(beatRaised());
    EXPECT_FALSE(editor.indicatorTick());
    EXPECT_EQ(editor.position().bar, 2);  // the Beat and Bar still move
    EXPECT_EQ(editor.position().beat, 1);

    editor.pressAutomatic();
    EXPECT_EQ(editor.drum().automatic.caption(), "自动0.5秒");
    EXPECT_EQ(autoDrumColour(editor.drum().automatic.mode, {}), 0xC0C0C0u);
    editor.pressAutomatic();
    editor.pressAutomatic();
    EXPECT_EQ(editor.drum().automatic.caption(), "自动停止");
    EXPECT_EQ(autoDrumColour(editor.drum().automatic.mode, {}), 0x808080u);
}

TEST_F(EffectEditorTest, TheCorrespondenceWarningBlinksOnlyWhileThePartsCannotCorrespond) {
    fx().beatCorrespondence = 1;
    fx().independentBass = 1;
    shape(kNoBassPart, 4, 4);
    shape(kBassPart, 4, 4);
    EXPECT_FALSE(editor.warningTick());
    EXPECT_FALSE(editor.warningTick());
    setBeatsPerBar(fx(), kBassPart, 3);
    EXPECT_TRUE(editor.warningTick());
    EXPECT_EQ(fx().correspondenceInvalid, 1);
    EXPECT_FALSE(editor.warningTick());
    EXPECT_TRUE(editor.warningTick());
}

TEST_F(EffectEditorTest, BoxesStoreTheirEntriesAndTheDwellTimeTakesWholeNumbersUpTo255) {
    editor.chooseEntry(ValueBox::XyThreshold, 128);
    EXPECT_EQ(fx().xyThreshold, 128);
    editor.chooseEntry(ValueBox::XyThreshold, 0);
    EXPECT_EQ(fx().xyThreshold, 0);
    EXPECT_EQ(valueBoxEntries(ValueBox::XyThreshold).texts.front(), "系统默认");
    editor.chooseEntry(ValueBox::VjMode, 2);
    EXPECT_EQ(fx().vjMode, 2);
    EXPECT_EQ(valueBoxEntries(ValueBox::VjMode).texts,
              (QStringList{"正常显示", "Dmx512控制", "VJ自走"}));
    editor.chooseEntry(ValueBox::BassHoldTime, 7);
    EXPECT_EQ(fx().bassHoldTime, 100);
    editor.chooseEntry(ValueBox::BassHoldTime, 8);  // no such entry
    EXPECT_EQ(fx().bassHoldTime, 100);
    EXPECT_EQ(entryOf(ValueBox::DwellTime, 160), 5);
    EXPECT_EQ(entryOf(ValueBox::BassHoldTime, 35), -1);
    editor.chooseEntry(ValueBox::BarCount, 48, kBassPart);
    EXPECT_EQ(fx().parts[kBassPart].barCount, 48);
    editor.chooseEntry(ValueBox::BeatsPerBar, 8, kBassPart);
    EXPECT_EQ(fx().parts[kBassPart].beatsPerBar, 8);
    editor.chooseEntry(ValueBox::AssociationRepeat, 30);
    EXPECT_EQ(fx().modules[0].associationRepeat, 30);
    editor.chooseBar(kNoBassPart, 1);
    editor.chooseEntry(ValueBox::BarRepeat, 36);
    EXPECT_EQ(fx().parts[kNoBassPart].bars[0].repeat, 36);

    EXPECT_EQ(fx().parts[kNoBassPart].bars[0].beatDwellTime, 40);  // the entry's default
    for (const char* refused : {"300", "abc", "", "1.5", "-1"}) {
        EXPECT_FALSE(editor.typeDwellTime(refused)) << refused;
        EXPECT_EQ(fx().parts[kNoBassPart].bars[0].beatDwellTime, 40);
    }
    EXPECT_TRUE(editor.typeDwellTime("15"));
    EXPECT_EQ(dwellTimeLabel(fx().parts[kNoBassPart].bars[0].beatDwellTime), "1.5秒");
    EXPECT_TRUE(editor.typeDwellTime("255"));
    EXPECT_TRUE(editor.typeDwellTime("0"));
    EXPECT_EQ(dwellTimeLabel(40), "4.0秒");
}

TEST_F(EffectEditorTest, ClearingTheEffectEmptiesItsBankAndImageAndRestoresTheDefaults) {
    shape(kNoBassPart, 2, 2);
    setBeatDwellTime(fx(), kBassPart, 9, 80);
    fx().bassHoldTime = 5;
    bank.at(2, 3).setStepCount(1);
    EXPECT_FALSE(editor.clearEffect(fake).done);  // No changes nothing
    EXPECT_EQ(fx().bassHoldTime, 5);
    EXPECT_TRUE(images.has(3));

    fake.yesNoAnswers = {true};
    ASSERT_TRUE(editor.clearEffect(fake).done);
    EXPECT_EQ(fake.questions.back(), "要清空当前效果吗 ？");
    EXPECT_FALSE(bankHasMaterials(bank));
    EXPECT_FALSE(images.has(3));
    editor.enter();
    EXPECT_EQ(fx().bassHoldTime, 40);
    for (int p : {kNoBassPart, kBassPart})
        for (const BarSettings& b : fx().parts[p].bars)
            EXPECT_EQ(b.beatDwellTime, 40);
    EXPECT_FALSE(effectHasContent(fx()));
}

TEST_F(EffectEditorTest, DamagedFilesLeaveTheEffectAndTheModuleAsTheyWere) {
    const QString path = fake.dir.path() + "/bad.K_1XG";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromHex("F1042901") + QByteArray(30, '\x7F'));
    f.close();
    shape(kNoBassPart, 3, 3);
    editor.setModuleRemark("留下");
    const Effect before = fx();
    FileDialogs dialogs{fake, fake};

    EXPECT_FALSE(editor.importEffect(dialogs).done);  // answered No: no dialog either
    EXPECT_TRUE(fake.dialogs.empty());
    fake.yesNoAnswers = {true};
    fake.dialogAnswers = {path};
    const Outcome effect = editor.importEffect(dialogs);
    EXPECT_EQ(fake.questions.back(), "要覆盖当前效果吗 ？");
    EXPECT_FALSE(effect.done);
    EXPECT_EQ(effect.message, "文件错误！！！");
    fake.yesNoAnswers = {true};
    fake.dialogAnswers = {path};
    const Outcome module = editor.importModule(dialogs);
    EXPECT_EQ(fake.questions.back(), "要覆盖当前模块吗 ？");
    EXPECT_EQ(module.message, "文件错误！！！");
    EXPECT_EQ(fx(), before);

    // A good module file round-trips through the editor's own export.
    bank.at(1, 4).setRemark("四");
    bank.at(1, 4).setFixtureCount(1);
    bank.at(1, 4).setChannelCount(1);
    bank.at(1, 4).setStepCount(2);
    fake.dialogAnswers = {fake.dir.path() + "/m.K_1MK"};
    ASSERT_TRUE(editor.exportModule(dialogs).done);
    editor.chooseModule(9);
    fake.yesNoAnswers = {true};
    fake.dialogAnswers = {fake.dir.path() + "/m.K_1MK"};
    ASSERT_TRUE(editor.importModule(dialogs).done);
    EXPECT_EQ(fx().modules[8].remark, "留下");
    EXPECT_EQ(bank.at(9, 4).remark(), "四");
}

TEST(EffectEditorColours, TheFullSchemeKeysReplaceTheDefaults) {
    Appearance a;
    EXPECT_EQ(effectEditorColours(a).barCurrent, 0x8080FFu);
    EXPECT_EQ(moduleButtonColour(true, false, effectEditorColours(a)), 0x008080u);
    EXPECT_EQ(moduleButtonColour(false, true, effectEditorColours(a)), 0xD0D0D0u);
    a.customised = true;
    a.colours[static_cast<int>(ColourKey::效果_小节选择)] = 0x123456;
    a.colours[static_cast<int>(ColourKey::效果_模块无效_选择)] = 0x654321;
    a.colours[static_cast<int>(ColourKey::效果_素材列分区显示3)] = 0x0A0B0C;
    const EffectEditorColours c = effectEditorColours(a);
    EXPECT_EQ(c.barCurrent, 0x123456u);
    EXPECT_EQ(moduleButtonColour(true, false, c), 0x654321u);
    EXPECT_EQ(rowGroupColour(9, c), 0x0A0B0Cu);
    EXPECT_EQ(c.dwellError, 0x8080FFu);  // no key of its own
}

}  // namespace
}  // namespace kx

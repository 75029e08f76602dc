#include <gtest/gtest.h>

#include <QFile>
#include <memory>

#include "base/file_io.h"
#include "material_editor_fixture.h"
#include "material_test_util.h"
#include "materials/material_exchange.h"

namespace kx {
namespace {

using test::patch;

class MaterialEditorTest : public test::MaterialEditorFixture {
  protected:
    void openSized(int fixtures, int channels, int steps) {
        m() = test::sized(fixtures, channels, steps);
        editor.open(1, 1, "夜场", "开场");
    }
};

TEST_F(MaterialEditorTest, OpeningAppliesDefaultTimesAndResetsTheWindow) {
    openSized(3, 2, 2);
    m().setStepTime(2, 25);
    editor.rightClickFixture(2);
    editor.leftClickFixture(3);
    editor.startDemo();
    editor.open(1, 1, "夜场", "开场");
    EXPECT_EQ(editor.effectCaption(), "效果:夜场");
    EXPECT_EQ(editor.moduleCaption(), "模块:开场");
    EXPECT_EQ(m().unifiedTime(), 10);
    EXPECT_EQ(m().stepTime(1), 10);
    EXPECT_EQ(m().stepTime(2), 25);
    EXPECT_EQ(editor.shownTimeText(), "1.0秒");
    EXPECT_EQ(editor.currentStep(), 1);
    EXPECT_EQ(editor.shownFixture(), 1);
    EXPECT_EQ(editor.selectedFixtures(), std::vector<int>{1});
    EXPECT_FALSE(editor.demoOpen());
    EXPECT_EQ(editor.stepList(), (QStringList{"1", "2"}));
    EXPECT_EQ(editor.totalCaption(), "总步数：2");

    m() = Material{};
    editor.reload();
    EXPECT_EQ(editor.currentStep(), 0);  // no Steps: the scratch Step
}

TEST_F(MaterialEditorTest, TimeBoxesStoreOnlyTimesAndMarkTooLargeStepTimes) {
    openSized(1, 1, 3);
    editor.setPerStepTime(true);
    EXPECT_EQ(editor.timeCaption(), "单步时间");
    EXPECT_EQ(editor.typeStepTime("65000"), FieldMark::InvalidTime);
    EXPECT_EQ(m().stepTime(1), 10);
    EXPECT_EQ(editor.typeStepTime("40000"), FieldMark::Keep);  // does not fit: not stored
    EXPECT_EQ(editor.typeStepTime("2x"), FieldMark::Keep);
    EXPECT_EQ(m().stepTime(1), 10);
    EXPECT_EQ(editor.typeStepTime("25"), FieldMark::Normal);
    EXPECT_EQ(editor.shownTimeText(), "2.5秒");

    EXPECT_FALSE(editor.typeUnifiedTime("60000"));
    EXPECT_TRUE(editor.typeUnifiedTime("7"));
    EXPECT_EQ(editor.shownTimeText(), "2.5秒");  // the Step's own time while per-Step is on
    editor.setPerStepTime(false);
    EXPECT_EQ(editor.timeCaption(), "统一时间");
    EXPECT_EQ(editor.shownTimeText(), "0.7秒");

    EXPECT_TRUE(editor.fadeToNextShown());
    editor.setAllStepsFade(true);
    EXPECT_FALSE(editor.fadeToNextShown());
}

TEST_F(MaterialEditorTest, SettingsTakeTheirListsAndRefuseOutOfRangeJumps) {
    openSized(1, 1, 1);
    EXPECT_EQ(brightnessList().at(20), "80");
    editor.chooseBrightness(20);
    EXPECT_EQ(m().brightnessCut(), 20);
    EXPECT_EQ(m().brightness(), 80);
    EXPECT_EQ(editor.typeJumpSize("256"), FieldMark::Invalid);
    EXPECT_EQ(editor.typeJumpSize("abc"), FieldMark::Invalid);
    EXPECT_EQ(m().jumpSize(), 0);
    EXPECT_EQ(editor.typeJumpSize("255"), FieldMark::Normal);
    EXPECT_EQ(m().jumpSize(), 255);
    EXPECT_EQ(startModeList().at(6), "场景切换运行");
    editor.chooseVirtualDimming(2);
    EXPECT_EQ(m().virtualDimming(), 2);
    editor.chooseHardwareSpeed(3);  // not in the list: refused
    EXPECT_EQ(m().hardwareSpeed(), 0);
}

TEST_F(MaterialEditorTest, EvenSelectionTakesValuesOnTheShownAndSelectedFixtures) {
    openSized(6, 3, 1);
    editor.selectEven();
    EXPECT_EQ(editor.shownFixture(), 2);
    EXPECT_EQ(editor.selectedFixtures(), (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(editor.fixtureColour(2), editor.colours().shownFixture);
    EXPECT_EQ(editor.fixtureColour(4), editor.colours().selectedFixture);
    EXPECT_EQ(editor.fixtureColour(3), editor.colours().normalFixture);
    editor.enterValue(1, 200);
    for (int v = 1; v <= 6; ++v)
        EXPECT_EQ(m().value(1, v, 1), v % 2 == 0 ? 200 : 0) << v;

    editor.selectOdd();
    EXPECT_EQ(editor.selectedFixtures(), (std::vector<int>{1, 3, 5}));
    editor.rightClickFixture(3);  // toggles off
    editor.rightClickFixture(1);  // the shown one: nothing
    EXPECT_EQ(editor.selectedFixtures(), (std::vector<int>{1, 5}));
    editor.leftClickFixture(4);
    EXPECT_EQ(editor.selectedFixtures(), std::vector<int>{4});

    m().setFixtureCount(0);
    editor.selectAll();
    EXPECT_EQ(editor.shownFixture(), 4);  // nothing to select: nothing happens
}

TEST_F(MaterialEditorTest, LinkedEntryCopiesEveryChannelAndValueBoxesTakeOnlyBytes) {
    openSized(3, 3, 1);
    m().setValue(1, 1, 2, 50);
    m().setValue(1, 1, 3, 60);
    editor.selectAll();
    editor.setLinkAll(true);
    editor.enterValue(1, 9);
    for (int v = 2; v <= 3; ++v)
        EXPECT_EQ((std::vector{m().value(1, v, 1), m().value(1, v, 2), m().value(1, v, 3)}),
                  (std::vector{9, 50, 60}));
    EXPECT_FALSE(editor.typeValue(1, "300"));
    EXPECT_FALSE(editor.typeValue(1, "-1"));
    EXPECT_FALSE(editor.typeValue(1, "1.5"));
    EXPECT_EQ(m().value(1, 1, 1), 9);
    EXPECT_TRUE(editor.typeValue(1, " 255 "));
    EXPECT_EQ(m().value(1, 3, 1), 255);

    editor.wheelStep(1, 1);  // already at the top
    editor.wheelStep(0, 2);
    EXPECT_EQ(m().value(1, 1, 1), 255);
    EXPECT_EQ(m().value(1, 2, 2), 49);

    editor.copyValues();
    editor.leftClickFixture(2);
    editor.setEveryValue(0);
    EXPECT_EQ(m().value(1, 2, 3), 0);
    editor.pasteValues();
    EXPECT_EQ(m().value(1, 2, 1), 255);
    EXPECT_EQ(m().value(1, 2, 2), 49);
}

TEST_F(MaterialEditorTest, AValueOnAMaterialWithoutStepsMakesStepOne) {
    openSized(2, 2, 0);
    EXPECT_EQ(editor.currentStep(), 0);
    editor.enterValue(2, 77);
    EXPECT_EQ(m().stepCount(), 1);
    EXPECT_EQ(editor.currentStep(), 1);
    EXPECT_EQ(m().value(1, 1, 2), 77);
    EXPECT_EQ(m().stepTime(1), 10);
    editor.enterValue(1, 5);
    EXPECT_EQ(m().stepCount(), 1);

    // A channel the Material does not have takes nothing and makes no Step.
    m() = test::sized(2, 2, 0);
    editor.reload();
    editor.enterValue(3, 5);
    EXPECT_EQ(m().stepCount(), 0);
}

TEST_F(MaterialEditorTest, FaderPagesAndDefinitionPicker) {
    openSized(1, 24, 1);
    EXPECT_TRUE(editor.channelShown(20));
    EXPECT_FALSE(editor.channelShown(21));
    editor.setChannelPage(1);
    EXPECT_TRUE(editor.channelShown(24));
    EXPECT_FALSE(editor.channelShown(25));
    EXPECT_FALSE(editor.channelShown(1));
    EXPECT_EQ(faderSlotOf(24), 4);
    EXPECT_EQ(editor.channelPageColour(1), editor.colours().activeChannelPage);
    EXPECT_FALSE(editor.channelPageColour(0));

    EXPECT_EQ(codesOnPage(0).size(), 110u);
    EXPECT_EQ(codesOnPage(1).front(), 110);
    EXPECT_EQ(codesOnPage(1).back(), 255);
    EXPECT_EQ(codePageButtonCaption(0), "下一页");
    EXPECT_EQ(codePageButtonCaption(1), "上一页");

    m().setChannelFunction(3, 16);  // a code without a name
    EXPECT_EQ(editor.channelDefinition(3), "T=16");
    m().setChannelFunction(4, 20);
    EXPECT_EQ(editor.channelDefinition(4), "R");
    m().setChannelFunction(5, 200);
    editor.clickDefinition(5);
    EXPECT_EQ(editor.definingChannel(), 5);
    EXPECT_EQ(editor.pickerPage(), 1);  // the page of its code
    EXPECT_EQ(editor.pickerCodeColour(200), editor.colours().definedCode);
    EXPECT_EQ(editor.pickerCodeColour(20), editor.colours().normal);
    editor.clickDefinition(5);
    EXPECT_EQ(editor.definingChannel(), 0);
    editor.clickDefinition(4);
    editor.pickCode(22);
    EXPECT_EQ(m().channelFunction(4), 22);
    EXPECT_EQ(editor.definingChannel(), 0);
    editor.pickCode(30);  // closed: nothing
    EXPECT_EQ(m().channelFunction(4), 22);
}

TEST_F(MaterialEditorTest, TemporaryChannelsListAndRefuseATwentyFirst) {
    openSized(1, 1, 1);
    EXPECT_TRUE(editor.pressTempCode(20).done);
    EXPECT_TRUE(editor.pressTempCode(150).done);
    EXPECT_EQ(editor.tempChannelItems(), (QStringList{"20 - R", "150 - 自定义61"}));
    EXPECT_EQ(editor.tempCodeColour(20), editor.colours().current);
    EXPECT_TRUE(editor.pressTempCode(20).done);  // listed: removed
    EXPECT_FALSE(m().hasTempChannel(20));
    EXPECT_FALSE(editor.pressTempCode(0).done);
    for (int code = 1; code <= 19; ++code)
        editor.pressTempCode(code);
    EXPECT_EQ(m().usedTempChannels(), 20);
    const Outcome full = editor.pressTempCode(99);
    EXPECT_EQ(full.message, "最多支持20个通道");
    EXPECT_FALSE(m().hasTempChannel(99));
}

TEST_F(MaterialEditorTest, FixturePanelCountsRefuseTooLargeAndKeepHiddenValues) {
    openSized(6, 2, 1);
    m().setValue(1, 6, 2, 44);
    m().setMapped(6, 0, 9, true);
    editor.openFixturePanel();
    EXPECT_EQ(editor.typeFixtureCount("41"), FieldMark::Invalid);
    EXPECT_EQ(editor.typeChannelCount("33"), FieldMark::Invalid);
    EXPECT_EQ(m().fixtureCount(), 6);
    EXPECT_EQ(m().channelCount(), 2);
    EXPECT_EQ(editor.typeFixtureCount("4"), FieldMark::Normal);
    EXPECT_FALSE(editor.fixtureButtonShown(5));
    EXPECT_EQ(m().value(1, 6, 2), 0);
    EXPECT_EQ(editor.typeFixtureCount("6"), FieldMark::Normal);
    EXPECT_EQ(m().value(1, 6, 2), 44);
    EXPECT_TRUE(m().isMapped(6, 0, 9));
}

TEST_F(MaterialEditorTest, PatchingAndGroupsAddPatchedFixtures) {
    openSized(2, 1, 1);
    patch(lib, 0, 3, 0, 1, {20});
    patch(lib, 0, 4, 0, 2, {20});
    patch(lib, 1, 5, 1, 1, {20});
    lib.at(0, 3).name = "左摇头";
    editor.openFixturePanel();
    editor.choosePatchedFixture(2);
    EXPECT_EQ(editor.patchButtonColour(2), editor.colours().current);
    EXPECT_TRUE(editor.libraryFixtureShown(3));
    EXPECT_FALSE(editor.libraryFixtureShown(5));  // not patched on page 0
    EXPECT_EQ(editor.libraryFixtureCaption(3), "左摇头");
    editor.toggleLibraryFixture(3);
    EXPECT_TRUE(m().isMapped(2, 0, 3));
    EXPECT_EQ(editor.libraryFixtureColour(3), editor.colours().current);
    editor.toggleLibraryFixture(5);  // not shown: nothing
    EXPECT_FALSE(m().isMapped(2, 0, 5));

    setGroupMember(groups, 7, 4, true);
    setGroupMember(groups, 7, 105, true);
    setGroupMember(groups, 7, 6, true);  // not patched
    setGroupRemark(groups, 7, "后区");
    EXPECT_EQ(editor.groupCaption(7), "后区");
    EXPECT_EQ(editor.groupCaption(8), "8");
    editor.pressGroup(7);
    EXPECT_TRUE(m().isMapped(2, 0, 3));  // kept
    EXPECT_TRUE(m().isMapped(2, 0, 4));
    EXPECT_TRUE(m().isMapped(2, 1, 5));
    EXPECT_FALSE(m().isMapped(2, 0, 6));
    EXPECT_FALSE(m().isMapped(1, 0, 4));

    editor.chooseLibraryPage(1);
    EXPECT_EQ(editor.libraryPageColour(1), editor.colours().activeLibraryPage);
    EXPECT_TRUE(editor.libraryFixtureShown(5));
    editor.clearFixtureSelection();
    EXPECT_FALSE(m().isMapped(2, 0, 3));
    EXPECT_FALSE(m().isMapped(2, 1, 5));
}

TEST_F(MaterialEditorTest, StepOperationsRefuseWhatTheyMust) {
    openSized(2, 2, 0);
    m().setStepCount(kMaxSteps);
    EXPECT_EQ(editor.addStep(false).message, "已经是最大步数!!!");
    EXPECT_EQ(m().stepCount(), kMaxSteps);

    openSized(2, 2, 3);
    editor.typeCopyCount("abc");
    EXPECT_EQ(editor.copyCountColour(), editor.colours().invalidCopyCount);
    EXPECT_EQ(editor.copySteps().message, "复制步数不能为0");
    editor.typeCopyCount("2");
    EXPECT_EQ(editor.copyCountColour(), editor.colours().normal);
    m().setValue(1, 2, 2, 8);
    EXPECT_TRUE(editor.copySteps().done);
    editor.nextStep();
    editor.nextStep();
    EXPECT_TRUE(editor.pasteStepsAtEnd().done);
    EXPECT_EQ(m().stepCount(), 5);
    EXPECT_EQ(m().value(4, 2, 2), 8);

    editor.selectStep(1);
    EXPECT_EQ(editor.currentStep(), 2);
    editor.setPerStepTime(true);
    editor.typeStepTime("33");
    EXPECT_TRUE(editor.addStep(false).done);  // takes the time shown
    EXPECT_EQ(editor.currentStep(), 3);
    EXPECT_EQ(m().stepTime(3), 33);
    editor.deleteStep();
    EXPECT_EQ(m().stepCount(), 5);
}

TEST_F(MaterialEditorTest, DamagedFilesLeaveTheMaterialAsItWas) {
    openSized(2, 2, 2);
    m().setValue(1, 1, 1, 3);
    const Material before = m();
    // A clipboard that passes the tag check but breaks off in its first record.
    const QByteArray good = *buildSingleMaterialFile(before, lib);
    ASSERT_TRUE(writeWholeFile(paths.materialClipboard, good.left(30)));
    fake.yesNoAnswers = {true};
    EXPECT_EQ(editor.pasteMaterial().message, "读取失败");
    EXPECT_EQ(fake.questions.back(), "是否覆盖当前素材?");
    EXPECT_EQ(m(), before);

    const QString file = fake.dir.filePath("bad.K_1SC");
    ASSERT_TRUE(writeWholeFile(file, good.left(30)));
    fake.dialogAnswers = {file};
    EXPECT_EQ(editor.importMaterial().message, "读取失败");
    EXPECT_EQ(m(), before);

    ASSERT_TRUE(editor.copyMaterial().done);
    m() = Material{};
    fake.yesNoAnswers = {true};
    EXPECT_TRUE(editor.pasteMaterial().done);
    EXPECT_EQ(m(), before);

    fake.yesNoAnswers = {false};
    EXPECT_FALSE(editor.deleteMaterial().done);
    EXPECT_EQ(fake.questions.back(), "是否删除素材?");
    fake.yesNoAnswers = {true};
    EXPECT_TRUE(editor.deleteMaterial().done);
    EXPECT_EQ(m().stepCount(), 0);
    EXPECT_EQ(m().unifiedTime(), 10);  // reopened: default times
}

TEST_F(MaterialEditorTest, MotionPanelDefaultsRefusalsAndGeneration) {
    openSized(3, 4, 0);
    editor.chooseMotionMode(1);
    EXPECT_FALSE(editor.motionPanelShown());
    editor.showMotionPanel();
    EXPECT_TRUE(editor.motionPanelShown());
    EXPECT_EQ(editor.motionPanelTitle(), "画圆");
    EXPECT_EQ(editor.globalParameter(1), 10);
    EXPECT_EQ(editor.fixtureParameter(7), 10);
    EXPECT_EQ(editor.fixtureParameter(1), 0);  // 0 lies in the centre's range: kept
    EXPECT_EQ(m().motionPerFixture(2, 7), 0);  // only the shown Virtual Fixture is prepared
    EXPECT_EQ(editor.typeGlobalParameter(1, "0"), FieldMark::Invalid);
    EXPECT_EQ(editor.typeFixtureParameter(8, "361"), FieldMark::Invalid);
    EXPECT_EQ(editor.typeFixtureParameter(3, "x"), FieldMark::Invalid);
    editor.rightClickFixture(3);
    EXPECT_EQ(editor.typeFixtureParameter(7, "90"), FieldMark::Normal);
    EXPECT_EQ(m().motionPerFixture(3, 7), 90);
    EXPECT_EQ(m().motionPerFixture(2, 7), 0);
    EXPECT_EQ(editor.typeGlobalParameter(1, "90"), FieldMark::Normal);

    editor.setPerStepTime(true);
    EXPECT_TRUE(editor.generateMotion());
    EXPECT_EQ(m().stepCount(), 5);  // 360 / 90 + 1
    EXPECT_EQ(editor.currentStep(), 1);
    EXPECT_EQ(m().allStepsFade(), 1);
    EXPECT_EQ(m().perStepTime(), 0);
    EXPECT_EQ(editor.shownTimeText(), "0.1秒");
    editor.chooseMotionMode(0);
    EXPECT_FALSE(editor.motionPanelShown());
    EXPECT_FALSE(editor.generateMotion());
}

TEST_F(MaterialEditorTest, PreviewsGoThroughTheOutputEngine) {
    openSized(1, 2, 2);
    m().setChannelFunction(1, 20);
    m().setChannelFunction(2, 21);
    patch(lib, 0, 1, 1, 10, {20, 21});
    m().setMapped(1, 0, 1, true);
    m().setValue(1, 1, 1, 100);
    m().setValue(2, 1, 2, 60);
    m().setUnifiedTime(2);
    editor.chooseBrightness(50);
    DmxFrame frame{};
    frame[700] = 9;  // a stale value is cleared
    editor.composeStatic(frame);
    EXPECT_EQ(frame[512 + 10], 50);
    EXPECT_EQ(frame[700], 0);
    editor.nextStep();
    editor.composeStatic(frame);
    EXPECT_EQ(frame[512 + 10], 0);
    EXPECT_EQ(frame[512 + 11], 30);

    editor.startDemo();
    editor.choosePort(1);
    PortText text = editor.composeRun(false, frame);
    EXPECT_EQ(text.caption, "步1/2   时长2/2");
    EXPECT_TRUE(text.text.startsWith("000 000 000 000 000 000 000 000 000 050 000"));
    editor.composeRun(false, frame);
    text = editor.composeRun(false, frame);
    EXPECT_EQ(text.caption, "步2/2   时长2/2");
    EXPECT_EQ(frame[512 + 11], 30);
}

}  // namespace
}  // namespace kx

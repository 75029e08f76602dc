#include <gtest/gtest.h>

#include "base/settings.h"
#include "scenes/scene_editor.h"
#include "storage/record_io.h"
#include "support/fake_platform.h"

namespace kx {
namespace {

TEST(SceneEditorRules, CaptionsBracketsAndFrames) {
    SceneTable t;
    EXPECT_EQ(sceneButtonCaption(t, 5), "5");
    setSceneName(t, 5, "动感");
    EXPECT_EQ(sceneButtonCaption(t, 5), "5-动感");
    setSceneEffect(t, 5, 12);
    EXPECT_EQ(sceneButtonCaption(t, 5), "[5-动感]");
    EXPECT_EQ(sceneButtonCaption(t, 33), "33-静音/暂停");
    setSceneEffect(t, 33, 2);
    EXPECT_EQ(sceneButtonCaption(t, 33), "[33-静音/暂停]");
    // Only the Effect brackets a scene: mains and relays do not.
    setMainsByDmx(t, 6, 1);
    EXPECT_EQ(sceneButtonCaption(t, 6), "6");

    EXPECT_TRUE(sceneFramesShown(30));
    EXPECT_FALSE(sceneFramesShown(31));
    EXPECT_TRUE(effectUsedByAScene(t, 12));
    EXPECT_FALSE(effectUsedByAScene(t, 13));
    EXPECT_EQ(effectButtonCaption(3, "开场", true), "[开场]");
    EXPECT_EQ(effectButtonCaption(3, "开场", false), "开场");
    EXPECT_EQ(effectButtonCaption(4, "", true), "[4]");

    const SceneEditorColours c;
    EXPECT_EQ(effectButtonColour(true, true, c), 0x6010BFu);
    EXPECT_EQ(effectButtonColour(false, true, c), 0x60106Fu);
    EXPECT_EQ(effectButtonColour(true, false, c), 0xD0D0D0u);
    EXPECT_EQ(effectButtonColour(false, false, c), 0x808080u);
    Appearance custom;
    custom.customised = true;
    for (int k = 0; k < kColourKeyCount; ++k)
        custom.colours[k] = 0x300 + k;
    const SceneEditorColours cc = sceneEditorColours(custom);
    EXPECT_EQ(cc.sceneSelected, custom.colour(ColourKey::场景_场景选择按钮));
    EXPECT_EQ(cc.effectOtherInvalid, custom.colour(ColourKey::场景_效果未选择按钮显示_无效));
}

TEST(SceneEditorRules, ReportsReadAsSourceAndScene) {
    const std::uint8_t wall[] = {0x20, 0, 7, 12};
    const std::uint8_t vod[] = {0x20, 1, 3, 5, 0xFF};
    const std::uint8_t other[] = {0x20, 2, 9, 30};
    const std::uint8_t notReport[] = {0x21, 0, 7, 12};
    const std::uint8_t tooShort[] = {0x20, 0, 7};
    EXPECT_EQ(sceneReportText(0xCE, wall), "A-07  C-12");
    EXPECT_EQ(sceneReportText(0xCE, vod), "B-03  C-05");
    EXPECT_EQ(sceneReportText(0xCE, other), "C-30");
    EXPECT_EQ(sceneReportText(0xCF, wall), std::nullopt);
    EXPECT_EQ(sceneReportText(0xCE, notReport), std::nullopt);
    EXPECT_EQ(sceneReportText(0xCE, tooShort), std::nullopt);
    const std::uint8_t big[] = {0x20, 0, 123, 45};
    EXPECT_EQ(sceneReportText(0xCE, big), "A-23  C-45");  // the last two digits
}

class SceneEditorTest : public test::FakePlatformTest {
  protected:
    QString workSet() { return AppPaths::under(fake.programDir()).workSet; }
    SceneTable table;
};

TEST_F(SceneEditorTest, OpensOnTheRememberedSceneWithinRange) {
    const std::pair<QString, int> cases[] = {{"17", 17}, {"0", 1}, {"51", 1}, {"abc", 1}};
    for (const auto& [stored, opened] : cases) {
        Fun_IniWrite(workSet(), kLastEditedSceneKey, stored);
        SceneEditor editor(table, workSet());
        editor.enter();
        EXPECT_EQ(editor.currentScene(), opened) << stored.toStdString();
    }
    SceneEditor editor(table, workSet());
    editor.enter();
    editor.chooseScene(9);
    EXPECT_EQ(Fun_IniRead(workSet(), kLastEditedSceneKey), "9");
}

TEST_F(SceneEditorTest, EffectToggleCopyPasteAndDefaults) {
    SceneEditor editor(table, workSet());
    editor.enter();
    editor.chooseScene(3);
    editor.toggleEffect(7);
    EXPECT_EQ(table.at(3).effectNumber, 0);  // editing is off
    editor.setEditEnabled(true);
    editor.toggleEffect(7);
    EXPECT_EQ(table.at(3).effectNumber, 7);
    editor.toggleEffect(8);
    EXPECT_EQ(table.at(3).effectNumber, 8);
    editor.toggleEffect(8);
    EXPECT_EQ(table.at(3).effectNumber, 0);

    EXPECT_FALSE(editor.paste());  // nothing copied
    editor.toggleEffect(4);
    editor.setMainsByDmx(true);
    editor.setEffectorSound(3);
    editor.setName("源");
    editor.setWallPanelScene(9);
    editor.copy();
    editor.chooseScene(20);
    editor.setName("目标");
    EXPECT_TRUE(editor.paste());
    EXPECT_EQ(table.at(20).effectNumber, 4);
    EXPECT_EQ(table.at(20).mainsByDmx, 1);
    EXPECT_EQ(table.at(20).effectorSound, 3);
    EXPECT_EQ(table.at(20).name, "目标");
    EXPECT_EQ(table.at(20).wallPanelScene, 0);
    EXPECT_EQ(editor.copiedScene(), 3);

    fake.yesNoAnswers = {false, true};
    EXPECT_FALSE(editor.setDefaultAssociations(fake).done);
    EXPECT_EQ(table.at(12).vodScene, 0);
    EXPECT_TRUE(editor.setDefaultAssociations(fake).done);
    EXPECT_EQ(table.at(12).vodScene, 12);
    EXPECT_EQ(table.at(3).wallPanelScene, 3);
    EXPECT_EQ(fake.questions.last(), "要设置成默认参数吗?");
}

// The scenes section as the Show File holds it.
QByteArray scenesBytes(const SceneTable& t) {
    RecordBuffer buf(8192);
    int end = 204;
    saveScenesSection(t, buf, end);
    return buf.bytes(end);
}

TEST_F(SceneEditorTest, EveryStoreIsTakenBackAndMadeAgainByteForByte) {
    SceneEditor editor(table, workSet());
    EditHistory history;
    int reveals = 0;
    editor.setHistory(&history, [&] { ++reveals; });
    editor.enter();
    editor.chooseScene(6);
    editor.setEditEnabled(true);
    const QByteArray start = scenesBytes(table);

    for (const char* typed : {"浪", "浪漫"})  // one run of typing
        editor.setName(typed);
    history.seal();
    editor.toggleEffect(9);
    editor.setMainsByDmx(true);
    editor.setWallPanelScene(4);
    editor.setVodScene(8);
    editor.setEffectorSound(2);
    editor.copy();
    editor.chooseScene(21);
    EXPECT_TRUE(editor.paste());
    fake.yesNoAnswers = {true};
    EXPECT_TRUE(editor.setDefaultAssociations(fake).done);
    editor.setEffectorSound(2);  // scene 21 has it from the paste: no entry
    editor.chooseScene(2);       // choosing is not a store
    EXPECT_EQ(history.entryCount(), 8);
    EXPECT_EQ(history.undoTip(), "撤销：默认参数");
    const QByteArray end = scenesBytes(table);

    history.undo();
    EXPECT_EQ(history.undoTip(), "撤销：场景 21 粘贴");
    EXPECT_EQ(editor.currentScene(), 21);  // the scene the technician was on comes back
    while (history.canUndo())
        history.undo();
    EXPECT_EQ(scenesBytes(table), start);
    EXPECT_EQ(editor.currentScene(), 6);
    EXPECT_EQ(table.at(6).name, "");
    while (history.canRedo())
        history.redo();
    EXPECT_EQ(scenesBytes(table), end);
    EXPECT_EQ(reveals, 16);

    // The first-run defaults and the special names are the system's, not the technician's.
    history.clear();
    editor.setDefaultAssociationsNow();
    editor.applySpecialNames();
    EXPECT_FALSE(history.canUndo());
}

}  // namespace
}  // namespace kx

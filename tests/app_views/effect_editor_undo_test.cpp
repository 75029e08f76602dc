#include <gtest/gtest.h>

#include <QTest>

#include "base/file_io.h"
#include "materials/memory_images.h"
#include "shell/appearance_view.h"
#include "show_editors_fixture.h"

namespace kx {
namespace {

// Answers Yes to every question and chooses `path` in every file dialog.
struct YesPrompter : Prompter {
    void message(const QString& text) override { messages << text; }
    bool askYesNo(const QString&) override { return true; }
    QString fileDialog(const FileDialog&) override { return path; }
    QStringList messages;
    QString path;
};

Material dimmerMaterial(int value) {
    Material m;
    m.setFixtureCount(1);
    m.setChannelCount(1);
    m.setChannelFunction(1, 5);
    m.setMapped(1, 0, 1, true);
    m.setStepCount(2);
    m.setValue(1, 1, 1, value);
    return m;
}

// The Scene and Effect editors as the program plugs them in, with the program's Ctrl+Z, taking
// back the Effect editor's stores and the Scene editor's "导入全部效果".
class EffectEditorUndoTest : public test::ShowEditorsFixture {
  protected:
    void SetUp() override {
        ShowEditorsFixture::SetUp();
        Fixture& f = show.library.at(0, 1);
        f.startAddress = 10;
        f.channelCount = 1;
        f.functions[0] = 5;
        EditorContext& ctx = context(&answers);
        install({makeSceneEditor(ctx), makeEffectEditor(ctx),
                 placeholder(EditorId::Materials, "素材", 4, "MaterialEditorView")});
        scenes = viewOf<SceneEditorView>(EditorId::Scenes);
        view = viewOf<EffectEditorView>(EditorId::Effects);
        enterScenes();
    }

    // Effect e opened from the scenes, with four Bars of four Beats and one Material.
    void openEffect(int e) {
        QTest::mouseClick(scenes->effectButton(e), Qt::LeftButton);
        ASSERT_EQ(window.currentView(), view);
        ASSERT_EQ(show.currentEffect, e);
        setBarCount(show.effects.at(e), kNoBassPart, 4);
        setBeatsPerBar(show.effects.at(e), kNoBassPart, 4);
        show.materials.at(1, 1) = dimmerMaterial(100 + e);
        view->Fun_窗体载入();
    }

    void ctrlZ(QWidget* target) { QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier); }
    QPushButton* button(const char* name) { return view->findChild<QPushButton*>(name); }
    QString undoTip() { return button("Command撤销")->toolTip(); }

    YesPrompter answers;
    SceneEditorView* scenes = nullptr;
    EffectEditorView* view = nullptr;
};

TEST_F(EffectEditorUndoTest, ClearingTheEffectAndAGridClickAreTakenBackWithCtrlZ) {
    openEffect(1);
    const Effect shaped = show.effects.at(1);
    QTest::mouseClick(view->gridButton(1, 3), Qt::LeftButton);
    EXPECT_TRUE(beatSelected(show.effects.at(1), kNoBassPart, 1, 3, 1, 1));
    EXPECT_EQ(undoTip(), "撤销：效果 1 小节 1 拍 3");
    const EffectEditorColours colours;
    EXPECT_EQ(buttonBackColour(view->gridButton(1, 3)), colours.beatSelected);
    ctrlZ(view->gridButton(1, 3));
    EXPECT_EQ(show.effects.at(1), shaped);
    EXPECT_EQ(buttonBackColour(view->gridButton(1, 3)), colours.beatUnselected);
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(beatSelected(show.effects.at(1), kNoBassPart, 1, 3, 1, 1));

    const Effect before = show.effects.at(1);
    const MaterialBank bank = show.materials;
    QTest::mouseClick(button("Command清空效果"), Qt::LeftButton);
    EXPECT_EQ(show.materials, MaterialBank{});
    EXPECT_FALSE(effectHasContent(show.effects.at(1)));
    EXPECT_EQ(undoTip(), "撤销：清空效果");
    ctrlZ(view);
    EXPECT_EQ(show.effects.at(1), before);
    EXPECT_EQ(show.materials, bank);
    EXPECT_EQ(window.currentView(), view);
    EXPECT_TRUE(view->findChild<QComboBox*>("Combo小节数0")->currentText() == "4");
    EXPECT_TRUE(answers.messages.isEmpty());
}

TEST_F(EffectEditorUndoTest, UndoAfterOpeningAnotherEffectOpensTheEditedOneAgain) {
    openEffect(1);
    const MaterialBank one = show.materials;
    QTest::mouseClick(button("Command清空效果"), Qt::LeftButton);
    QTest::mouseClick(button("Command返回"), Qt::LeftButton);
    openEffect(2);
    QTest::mouseClick(button("Command返回"), Qt::LeftButton);
    ASSERT_EQ(window.currentView(), scenes);

    // From the scenes: Effect 2's bank goes to its image, Effect 1 opens in front with its
    // Materials back.
    ctrlZ(scenes);
    EXPECT_EQ(show.currentEffect, 1);
    EXPECT_EQ(show.materials, one);
    EXPECT_EQ(window.currentView(), view);
    MaterialBank two;
    ASSERT_TRUE(loadEffectImage(images, 2, two));
    EXPECT_EQ(two.at(1, 1), dimmerMaterial(102));
}

TEST_F(EffectEditorUndoTest, ImportingAllEffectsIsTakenBackWithCtrlZ) {
    openEffect(1);
    QTest::mouseClick(button("Command返回"), Qt::LeftButton);
    EffectTable other;
    other.at(7).remark = "新";
    MaterialBank empty;
    test::MemoryImages none;
    const auto file = buildAllEffectsFile(other, empty, 0, show.library, none);
    ASSERT_TRUE(file);
    answers.path = dir.path() + "/all.K_AXG";
    ASSERT_TRUE(writeWholeFile(answers.path, *file));
    const EffectTable effects = show.effects;
    const MaterialBank bank = show.materials;

    QTest::mouseClick(scenes->findChild<QPushButton*>("Command导入全部效果"), Qt::LeftButton);
    ASSERT_EQ(show.effects.at(7).remark, "新");
    ASSERT_EQ(show.currentEffect, 0);
    ctrlZ(scenes);
    EXPECT_EQ(show.effects, effects);
    EXPECT_EQ(show.currentEffect, 1);
    EXPECT_EQ(show.materials, bank);
    EXPECT_EQ(window.currentView(), scenes);
    EXPECT_FALSE(scenes->effectButton(7)->text().contains("新"));
    QTest::keyClick(scenes, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(show.effects.at(7).remark, "新");
}

}  // namespace
}  // namespace kx

#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "base/edit_history.h"
#include "scenes/scene_editor_view.h"
#include "support/fake_platform.h"
#include "support/typing.h"
#include "support/view_snapshot.h"
#include "support/widget_lookup.h"

namespace kx {
namespace {

// Every kind of store and move of the Scene editor, undo and redo, each followed by a comparison
// with a view entered afresh on the same scene table (it opens the scene last chosen, and editing
// is switched as in this one): a control left undrawn fails the comparison.
class SceneEditorRedrawTest : public test::FakePlatformTest {
  protected:
    void SetUp() override {
        effects.at(3).remark = "开场";
        effects.at(3).parts[kNoBassPart].barCount = 1;
        effects.at(3).parts[kNoBassPart].beatsPerBar = 1;
        view = makeView();
        view->editor().setHistory(&history, [] {});
        view->resize(1280, 681);
        view->Fun_窗体载入();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    std::unique_ptr<SceneEditorView> makeView() {
        return std::make_unique<SceneEditorView>(
            scenes, effects, workSet,
            SceneEditorView::Services{
                appearance, fake, [](QWidget* v) { v->show(); }, [] {}, [](int) {},
                [this] {
                    effects.at(7).remark = "新的";
                    return Outcome::success();
                },
                [] { return Outcome::success(); }, [](bool) {}, [] { return 1; }});
    }

    void expectSameAsFresh(const char* after) {
        auto fresh = makeView();
        fresh->resize(view->size());
        fresh->Fun_窗体载入();
        fresh->editor().setEditEnabled(view->editor().editEnabled());
        EXPECT_EQ(
            test::viewDifferences(test::snapshotView(fresh.get()), test::snapshotView(view.get())),
            "")
            << "after " << after;
    }

    void click(const QString& name) { test::clickNamed(view.get(), name); }
    void choose(const QString& name, int index) {
        auto* c = test::named<QComboBox>(view.get(), name);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }

    SceneTable scenes;
    EffectTable effects;
    QString workSet = fake.dir.filePath("WORK_SET.INI");
    Appearance appearance;
    EditHistory history;
    std::unique_ptr<SceneEditorView> view;
};

TEST_F(SceneEditorRedrawTest, EveryStoreMoveUndoAndRedoDrawsWhatAFreshViewDraws) {
    expectSameAsFresh("entering");
    view->sceneButton(4)->click();
    expectSameAsFresh("another scene");
    click("Check开启场景编辑");
    expectSameAsFresh("editing on");
    view->effectButton(3)->click();
    expectSameAsFresh("an Effect for the scene");
    test::retype(test::named<QComboBox>(view.get(), "ComboText场景备注")->lineEdit(), "包厢");
    expectSameAsFresh("a typed name");
    choose("ComboText场景备注", 2);
    expectSameAsFresh("a suggested name");
    click("Check强电由Dmx512控制");
    expectSameAsFresh("mains by DMX");
    choose("Combo关联墙板场景", 5);
    choose("Combo关联VOD场景", 6);
    expectSameAsFresh("the associations");
    choose("Combo音源选择", 1);
    choose("Combo效果器音效", 2);
    expectSameAsFresh("audio source and effector sound");
    click("Command复制场景设置");
    view->sceneButton(9)->click();
    expectSameAsFresh("a scene without an Effect");
    click("Command粘贴场景设置");
    expectSameAsFresh("a pasted scene");
    fake.yesNoAnswers = {true};
    click("Command_关联_默认参数");
    expectSameAsFresh("the default associations");
    click("Command导入全部效果");
    expectSameAsFresh("imported Effects");

    // Undo takes back the defaults and the paste, showing scene 9 put back; redo pastes again.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(history.undo().done);
        expectSameAsFresh("an undo");
    }
    ASSERT_TRUE(history.redo().done);
    expectSameAsFresh("a redo");
    click("Check开启场景编辑");
    expectSameAsFresh("editing off");
}

}  // namespace
}  // namespace kx

#include <gtest/gtest.h>

#include <QTest>

#include "fixtures/fixture_library_module.h"
#include "fixtures/fixture_library_view.h"
#include "shell/appearance_view.h"
#include "show_editors_fixture.h"

namespace kx {
namespace {

// The title bar's highlight follows the view in front whatever brought it there: the chain of
// editors, their own "返回" buttons and undo from another view. The Fixture Library and a stand-in
// for 下载 are plugged in beside the Scene, Effect and Material editors.
class TitleBarHighlightTest : public test::ShowEditorsFixture {
  protected:
    void SetUp() override {
        ShowEditorsFixture::SetUp();
        show.functionNames = defaultChannelFunctionNames();
        EditorContext& ctx = context();
        EditorModule download = placeholder(EditorId::Download, "下载", 6, "下载");
        downloads = static_cast<PlaceholderView*>(download.view);
        install({makeSceneEditor(ctx), makeEffectEditor(ctx), makeMaterialEditor(ctx),
                 makeFixtureLibraryEditor(ctx), download});
        scenes = viewOf<SceneEditorView>(EditorId::Scenes);
        effects = viewOf<EffectEditorView>(EditorId::Effects);
        materials = viewOf<MaterialEditorView>(EditorId::Materials);
        library = viewOf<FixtureLibraryView>(EditorId::FixtureLibrary);
        enterScenes();
    }

    TitleBarView& bar() { return shell->titleBar(); }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void title(int index) { click(bar().functionButton(index)); }
    QPushButton* in(QWidget* view, const QString& name) {
        auto* b = view->findChild<QPushButton*>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    }
    // The view in front, the button highlighted (in its colour) and button 4's caption.
    void expectFront(QWidget* view, int highlighted, const QString& caption4 = {}) {
        EXPECT_EQ(window.currentView(), view);
        EXPECT_EQ(bar().highlightedFunction(), highlighted);
        for (int i : TitleBarView::kFunctionIndices)
            EXPECT_EQ(buttonBackColour(bar().functionButton(i)),
                      i == highlighted ? bar().look().buttonSelected : bar().look().buttonNormal)
                << i;
        if (!caption4.isEmpty()) {
            EXPECT_EQ(bar().functionButton(4)->text(), caption4);
        }
    }
    void ctrlZ() { QTest::keyClick(window.currentView(), Qt::Key_Z, Qt::ControlModifier); }

    SceneEditorView* scenes = nullptr;
    EffectEditorView* effects = nullptr;
    MaterialEditorView* materials = nullptr;
    FixtureLibraryView* library = nullptr;
    PlaceholderView* downloads = nullptr;
};

TEST_F(TitleBarHighlightTest, TheChainOfEditorsKeepsButtonFourHighlighted) {
    expectFront(scenes, 4, "场景");
    title(3);
    expectFront(library, 3);
    title(4);
    click(scenes->effectButton(1));
    expectFront(effects, 4, "效果");
    click(in(effects, "Command素材2"));
    expectFront(materials, 4, "素材");
    title(6);
    expectFront(downloads, 6, "素材");
    // Button 4 leads back to the Material editor; its "返回" to the Effect editor.
    title(4);
    click(in(materials, "Command返回"));
    expectFront(effects, 4, "效果");
}

TEST_F(TitleBarHighlightTest, UndoFromAnotherViewHighlightsTheEditorItBringsForward) {
    // A Material edit, then 下载 in front: Ctrl+Z brings the Material editor, and 素材 lights.
    click(scenes->effectButton(1));
    click(in(effects, "Command素材1"));
    materials->editor().typeFixtureCount("2");
    title(6);
    expectFront(downloads, 6);
    ctrlZ();
    expectFront(materials, 4, "素材");
    EXPECT_EQ(show.materials.at(1, 1).fixtureCount(), 0);

    // A library edit, then the Material editor in front: Ctrl+Z brings 灯库 and lights it.
    title(3);
    click(library->fixtureButton(2));
    click(in(library, "Command灯具地址+20"));
    ASSERT_EQ(show.library.at(0, 2).startAddress, 20);
    title(4);
    expectFront(materials, 4, "素材");
    ctrlZ();
    expectFront(library, 3);
    EXPECT_EQ(show.library.at(0, 2).startAddress, 0);

    // An Effect edit taken back from 下载: the Effect editor comes with 效果 lit.
    title(4);
    click(in(materials, "Command返回"));
    auto* remark = effects->findChild<QLineEdit*>("Text效果备注");
    ASSERT_NE(remark, nullptr);
    QTest::keyClicks(remark, "A");
    ASSERT_EQ(show.effects.at(1).remark, "A");
    title(6);
    ctrlZ();
    expectFront(effects, 4, "效果");
    EXPECT_EQ(show.effects.at(1).remark, "");
}

}  // namespace
}  // namespace kx

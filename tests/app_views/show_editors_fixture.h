#pragma once

#include <QDir>
#include <QTest>

#include "effects/effect_editor_module.h"
#include "effects/effect_editor_view.h"
#include "materials/builtin_materials_panel.h"
#include "materials/chase_generator_window.h"
#include "materials/material_editor_module.h"
#include "materials/material_editor_view.h"
#include "scenes/scene_editor_module.h"
#include "scenes/scene_editor_view.h"
#include "shell_fixture.h"

namespace kx::test {

// The shell with Effect Material Images under its folder, for the Scene, Effect and Material
// editors as the program makes them: the Scene editor's Effect buttons enter the Effect editor,
// whose "返回" leads back to the scenes.
class ShowEditorsFixture : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        QDir(dir.path()).mkpath("AppSet/Sys_config/SC_TEMP");
    }

    // The window in front and active, as the technician has it, with the scenes entered.
    void enterScenes() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(shell->titleBar().functionButton(4), Qt::LeftButton);
    }
};

// The Scene, Effect and Material editors chained as the technician walks them: 场景 -> an
// Effect -> a Slot in the Material editor, and back with "返回"; the scenes entered.
class EditorChainFixture : public ShowEditorsFixture {
  protected:
    void SetUp() override {
        ShowEditorsFixture::SetUp();
        EditorContext& ctx = context();
        install({makeSceneEditor(ctx), makeEffectEditor(ctx), makeMaterialEditor(ctx)});
        scenes = viewOf<SceneEditorView>(EditorId::Scenes);
        effects = viewOf<EffectEditorView>(EditorId::Effects);
        materials = viewOf<MaterialEditorView>(EditorId::Materials);
        chase = materials->findChild<ChaseGeneratorWindow*>();
        builtIns = materials->findChild<BuiltInMaterialsPanel*>();
        enterScenes();
        ASSERT_EQ(window.currentView(), scenes);
    }

    template <typename T = QPushButton>
    T* in(QWidget* view, const QString& name) {
        T* w = view->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    // From the scenes: Effect e's Slot s (Module 1) in the Material editor.
    void openSlot(int effect, int slot) {
        click(scenes->effectButton(effect));
        ASSERT_EQ(window.currentView(), effects);
        click(in(effects, "Command素材" + QString::number(slot)));
        ASSERT_EQ(window.currentView(), materials);
    }
    void backToScenes() {
        click(in(materials, "Command返回"));
        ASSERT_EQ(window.currentView(), effects);
        click(in(effects, "Command返回"));
        ASSERT_EQ(window.currentView(), scenes);
    }

    SceneEditorView* scenes = nullptr;
    EffectEditorView* effects = nullptr;
    MaterialEditorView* materials = nullptr;
    ChaseGeneratorWindow* chase = nullptr;
    BuiltInMaterialsPanel* builtIns = nullptr;
};

}  // namespace kx::test

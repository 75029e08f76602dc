#pragma once

#include <QDir>
#include <QTest>

#include "app/effect_editor_registration.h"
#include "app/material_editor_entry.h"
#include "app/scene_editor_registration.h"
#include "shell_fixture.h"

namespace kx::test {

// A show with its Effect Material Images, and the Scene, Effect and Material editors registered as
// the program registers them: the Scene editor's Effect buttons enter the Effect editor, whose
// "返回" leads back to the scenes.
class ShowEditorsFixture : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        QDir(dir.path()).mkpath("AppSet/Sys_config/SC_TEMP");
    }

    std::function<void(QWidget*)> showView() {
        return [this](QWidget* v) { window.showView(v); };
    }

    EditorRegistration sceneEditor(SceneEditorView*& view) {
        return sceneEditorRegistration({show,
                                        images,
                                        paths,
                                        appearance,
                                        {platform, platform},
                                        *link,
                                        showView(),
                                        [this] { shell->setButtonEditor(EditorId::Scenes); },
                                        [this] { shell->enter(EditorId::Effects); },
                                        [this] { shell->enter(EditorId::Scenes); },
                                        &undo},
                                       view);
    }

    // openMaterialEditor: what the Slot buttons do; prompter: who answers its questions (none:
    // the platform, answering No).
    EditorRegistration effectEditor(EffectEditorView*& view,
                                    std::function<void()> openMaterialEditor,
                                    Prompter* prompter = nullptr) {
        return effectEditorRegistration({show,
                                         images,
                                         engine,
                                         appearance,
                                         {prompter != nullptr ? *prompter : platform, platform},
                                         *link,
                                         showView(),
                                         [this] { shell->setButtonEditor(EditorId::Effects); },
                                         [this] { shell->enter(EditorId::Effects); },
                                         std::move(openMaterialEditor),
                                         [this] { shell->enter(EditorId::Scenes); },
                                         &undo},
                                        view);
    }

    EditorRegistration materialEditor(MaterialEditorHome& home) {
        return materialEditorEntry(home, {show,
                                          engine,
                                          paths,
                                          {platform, platform},
                                          appearance,
                                          *link,
                                          wheel,
                                          window,
                                          *shell,
                                          images,
                                          &undo});
    }

    // The window in front and active, as the technician has it, with the scenes entered.
    void enterScenes() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(shell->titleBar().functionButton(4), Qt::LeftButton);
    }

    Show show;
    EditHistory history;
    UndoActions undo{history, platform};
    EffectImages images{show, AppPaths::under(dir.path())};
    MaterialOutput engine;
};

// The Scene, Effect and Material editors chained as the technician walks them: 场景 -> an
// Effect -> a Slot in the Material editor, and back with "返回"; the scenes entered.
class EditorChainFixture : public ShowEditorsFixture {
  protected:
    void SetUp() override {
        ShowEditorsFixture::SetUp();
        install({sceneEditor(scenes),
                 effectEditor(effects,
                              [this] {
                                  const EffectEditorPosition& at = effects->editor().position();
                                  materials.opens = {at.module, at.slot};
                                  shell->enter(EditorId::Materials);
                              }),
                 materialEditor(materials)});
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
        ASSERT_EQ(window.currentView(), materials.view);
    }
    void backToScenes() {
        click(in(materials.view, "Command返回"));
        ASSERT_EQ(window.currentView(), effects);
        click(in(effects, "Command返回"));
        ASSERT_EQ(window.currentView(), scenes);
    }

    SceneEditorView* scenes = nullptr;
    EffectEditorView* effects = nullptr;
    MaterialEditorHome materials;
};

}  // namespace kx::test

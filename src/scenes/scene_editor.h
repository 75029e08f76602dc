#pragma once

#include <QString>
#include <functional>

#include "base/aspects.h"
#include "base/outcome.h"
#include "base/prompter.h"
#include "base/table_edit.h"
#include "scenes/scene_editor_state.h"

namespace kx {

// What a Scene editor store or move changed, for its view to redraw.
enum class SceneAspect {
    Table,    // the scenes' names, settings and Effects
    Current,  // which scene is shown
    Editing,  // scene editing on or off
    Effects,  // the Effects the buttons name (changed outside the scene table)
};
using SceneAspects = Aspects<SceneAspect>;

// The Scene editor's edits of the scene table, one at a time on the current scene, each stored
// at once and recorded in the edit history. The scene the editor last showed is remembered in
// WORK_SET.
class SceneEditor {
  public:
    SceneEditor(SceneTable& scenes, QString workSet);

    const SceneTable& scenes() const { return m_scenes; }
    int currentScene() const { return m_current; }
    const Scene& current() const { return m_scenes.at(m_current); }
    int copiedScene() const { return m_copied; }
    bool editEnabled() const { return m_editEnabled; }

    // The view that redraws what each store, restore, entry or move announces.
    void observe(ChangeNotice<SceneAspect>::Observer observer) {
        m_changes.observe(std::move(observer));
    }
    // The Effects were replaced or renamed elsewhere (an import of all Effects).
    void effectsChanged() const { m_changes.announce(SceneAspect::Effects); }

    // Where the stores are recorded, and how the editor shows a scene table put back by undo or
    // redo (its view comes to the front).
    void setHistory(EditHistory* history, std::function<void()> reveal);

    // Entering: the first time the scene of "最后编辑场景"; always a scene 1-50.
    void enter();
    void chooseScene(int n);

    void setName(const QString& name);
    void setMainsByDmx(bool on);
    void setWallPanelScene(int n);
    void setVodScene(int n);
    void setAudioSource(int source);
    void setEffectorSound(int sound);
    void setEditEnabled(bool on);
    // With editing on: the Effect becomes the scene's, or leaves it when it already was.
    void toggleEffect(int effect);

    void copy();
    // Copies the settings of the copied scene into the current one; false with nothing copied.
    bool paste();
    // "要设置成默认参数吗?": done when the associations were set.
    Outcome setDefaultAssociations(Prompter& prompter);
    // The same without the question (a first run without a Show File).
    void setDefaultAssociationsNow();
    // Scenes 31-35 keep their fixed names whatever a file held (a correction, not announced).
    void applySpecialNames();

  private:
    TableEdit<SceneTable> recordEdit(const QString& description, const QString& mergeKey = {});
    // "场景 3 备注": what of the current scene an entry changed.
    QString sceneEdit(const char* what) const;

    void announce(SceneAspects changed) const { m_changes.announce(changed); }

    SceneTable& m_scenes;
    ChangeNotice<SceneAspect> m_changes;
    EditHistory* m_history = nullptr;
    std::function<void()> m_reveal;
    QString m_workSet;
    bool m_initialised = false;
    int m_current = 1;
    int m_copied = 0;
    bool m_editEnabled = false;
};

}  // namespace kx

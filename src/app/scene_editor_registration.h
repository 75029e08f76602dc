#pragma once

#include "app/editor_registration.h"
#include "base/dialogs.h"
#include "link/controller_link.h"
#include "scenes/scene_editor_view.h"
#include "shell/undo_actions.h"
#include "show/effect_images.h"

namespace kx {

// What the Scene editor reaches beyond its scene table.
struct SceneEditorParts {
    Show& show;
    EffectImages& images;
    const AppPaths& paths;
    const Appearance& appearance;
    FileDialogs dialogs;
    ControllerLink& link;
    std::function<void(QWidget*)> showView;
    std::function<void()> titleSceneMode;     // button 4 leads to the scene editor
    std::function<void()> enterEffectEditor;  // the open Effect in its editor
    std::function<void()> enterSceneEditor;   // brings the editor to the front (after an undo)
    UndoActions* undo = nullptr;              // the program's edit history; none: not recorded
};

// The Scene editor as the program plugs it in: live view 4, the scene reports of the
// Controller, the Effect buttons opening the Effect editor through the Effect Material Images,
// its stores recorded in the edit history.
EditorRegistration sceneEditorRegistration(SceneEditorParts parts, SceneEditorView*& view);

}  // namespace kx

#pragma once

#include "app/editor_registration.h"
#include "base/dialogs.h"
#include "effects/effect_editor_view.h"
#include "link/controller_link.h"
#include "materials/material_output.h"
#include "shell/undo_actions.h"
#include "show/effect_images.h"
#include "show/show.h"

namespace kx {

// What the Effect editor reaches beyond the open Effect.
struct EffectEditorParts {
    Show& show;
    EffectImages& images;
    MaterialOutput& engine;  // shared with the Material editor's previews
    const Appearance& appearance;
    FileDialogs dialogs;
    ControllerLink& link;
    std::function<void(QWidget*)> showView;
    std::function<void()> titleEffectMode;     // button 4 leads to the Effect editor
    std::function<void()> reenter;             // enters the Effect editor again
    std::function<void()> openMaterialEditor;  // the current Slot in the Material editor
    std::function<void()> returnToScenes;
    UndoActions* undo = nullptr;  // the program's edit history; none: not recorded
};

// The Effect editor as the program plugs it in: live view 9 playing the Beat the editor points
// at through the Effect output, with the simulated drum beats raising the live output's jump
// request, its stores recorded in the edit history. view is set when the view is made.
EditorRegistration effectEditorRegistration(EffectEditorParts parts, EffectEditorView*& view);

}  // namespace kx

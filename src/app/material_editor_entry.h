#pragma once

#include <memory>

#include "app/editor_registration.h"
#include "app/main_shell_view.h"
#include "base/dialogs.h"
#include "base/paths.h"
#include "link/controller_link.h"
#include "materials/builtin_materials_panel.h"
#include "materials/chase_generator_window.h"
#include "materials/material_editor.h"
#include "materials/material_editor_view.h"
#include "shell/appearance.h"
#include "shell/undo_actions.h"
#include "shell/wheel.h"
#include "show/effect_images.h"
#include "show/show.h"

namespace kx {

// What the Material editor keeps in the program: its rules and state, its view, and the Module
// and Slot it opens next (the Effect editor chooses them).
struct MaterialEditorHome {
    std::unique_ptr<MaterialEditor> core;
    MaterialEditorView* view = nullptr;
    ChaseGeneratorWindow* chase = nullptr;      // "跑马工具"
    BuiltInMaterialsPanel* builtIns = nullptr;  // "标准素材", "个性素材"
    MaterialSlot opens;
};

// What the Material editor reaches outside itself.
struct MaterialEditorParts {
    Show& show;
    MaterialOutput& output;
    const AppPaths& paths;
    FileDialogs dialogs;
    const Appearance& appearance;
    ControllerLink& link;
    WheelRouter& wheel;
    MainWindow& window;
    MainShell& shell;
    EffectImages& images;         // the bank switch an undo of another Effect's Material makes
    UndoActions* undo = nullptr;  // the program's edit history; none: not recorded
};

// The Material editor's registration: its view and entry, live views 7 (the current Step) and 8
// (the demonstration run), its wheel channels 2000 + n and its reload after a new show; its stores
// are recorded in the edit history.
EditorRegistration materialEditorEntry(MaterialEditorHome& home, MaterialEditorParts parts);

}  // namespace kx

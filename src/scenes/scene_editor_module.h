#pragma once

#include "editor/editor_module.h"

namespace kx {

// The Scene editor: live view 4, the scene reports of the Controller, the Effect buttons opening
// the Effect editor through the Effect Material Images, its stores recorded for undo.
EditorModule makeSceneEditor(EditorContext& ctx);

}  // namespace kx

#pragma once

#include "editor/editor_module.h"

namespace kx {

// The Material editor: live views 7 (the current Step) and 8 (the demonstration run), its wheel
// channels 2000 + n, the chase generator and the built-in libraries over it, its stores recorded
// for undo. Another editor opens it at a MaterialSlot (Module and Slot of the open Effect).
EditorModule makeMaterialEditor(EditorContext& ctx);

}  // namespace kx

#pragma once

#include "editor/editor_module.h"

namespace kx {

// The Effect editor: live view 9 playing the Beat the editor points at through the Effect output,
// the simulated drum beats raising the live output's jump request, the drum-beat flash and the
// correspondence warning in the main loop, its stores recorded for undo. A Slot's button opens
// the Material editor there (a MaterialSlot); "返回" leads to the scenes.
EditorModule makeEffectEditor(EditorContext& ctx);

}  // namespace kx

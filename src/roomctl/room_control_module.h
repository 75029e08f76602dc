#pragma once

#include "editor/editor_module.h"

namespace kx {

// The room control editor ("灯控"): live view 6, the effector code reports, the VJ server
// selection in the frames, its stores recorded for undo.
EditorModule makeRoomControlEditor(EditorContext& ctx);
// The air-conditioner IR window, reached from the room control editor: live view 11, the learned
// reports.
EditorModule makeAirConIrWindow(EditorContext& ctx);

}  // namespace kx

#pragma once

#include "editor/editor_module.h"

namespace kx {

// The version notes, a small window over the main window that the room control editor opens.
EditorModule makeVersionNotes(EditorContext& ctx);

}  // namespace kx

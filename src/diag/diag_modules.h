#pragma once

#include "editor/editor_module.h"

namespace kx {

// The test console ("测试"): live view 10 with the automatic drum beats, the serial monitors'
// replies.
EditorModule makeTestConsole(EditorContext& ctx);
// The developer console, a window of its own opened by the title bar's developer button.
EditorModule makeDeveloperConsole(EditorContext& ctx);

}  // namespace kx

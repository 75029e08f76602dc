#pragma once

#include "editor/editor_module.h"

namespace kx {

class DmxMonitorWindow;

// The DMX monitor: F9 anywhere in the program, or the title bar's button, opens it beside the
// main window (and closes it again). While it is open it observes the output tick and shows each
// frame the tick composed; closed, it is no part of the tick. Its caption follows whether the
// frames reach the Controller. The window belongs to the main window.
EditorModule makeDmxMonitor(EditorContext& ctx);

// Opens the monitor beside the main window, or closes it when it is open.
void toggleDmxMonitor(DmxMonitorWindow& monitor, const QWidget& mainWindow);

}  // namespace kx

#pragma once

#include <QWidget>

#include "base/paths.h"
#include "link/controller_link.h"
#include "monitor/dmx_monitor_window.h"
#include "show/show.h"

namespace kx {

class TitleBarView;

// The DMX monitor as the program plugs it in: F9 anywhere in the program, or the title bar's
// button, opens it beside the main window (and closes it again). While it is open it observes
// the output tick and shows each frame the tick composed; closed, it is no part of the tick.
// Its caption follows whether the frames reach the Controller. The window belongs to the main
// window.
DmxMonitorWindow* installDmxMonitor(ControllerLink& link, QWidget& mainWindow, TitleBarView& bar,
                                    const Show& show, const AppPaths& paths);

// Opens the monitor beside the main window, or closes it when it is open.
void toggleDmxMonitor(DmxMonitorWindow& monitor, const QWidget& mainWindow);

}  // namespace kx

#pragma once

#include <vector>

#include "app/main_shell_view.h"
#include "app/main_window.h"
#include "app/title_bar_view.h"
#include "editor/editor_module.h"
#include "link/controller_link.h"
#include "shell/undo_actions.h"
#include "shell/wheel.h"

namespace kx {

// Wires each module into the program: its live output views and their outputs, its reply
// handler, its wheel channels, its undo buttons (when undo is given); entering it tells the live
// output its view, then runs its entry (or brings the view to the front). Returns the shell's
// entries, in the modules' order.
std::vector<MainShell::Entry> installModules(std::vector<EditorModule>& modules,
                                             ControllerLink& link, WheelRouter& wheel,
                                             MainWindow& window, UndoActions* undo);

// The title bar's buttons without a view of their own run the actions of the modules taking them.
void connectTitleActions(TitleBarView& bar, const std::vector<EditorModule>& modules);

// Every module's periodic work in one tier, in the modules' order; empty when none has any.
std::function<void()> periodicWork(const std::vector<EditorModule>& modules, Tier tier);
// Whether any of it has something to do; empty (always) when some work has no busy test.
std::function<bool()> periodicBusy(const std::vector<EditorModule>& modules, Tier tier);

}  // namespace kx

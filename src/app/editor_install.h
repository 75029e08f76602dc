#pragma once

#include <functional>
#include <vector>

#include "app/editor_registration.h"
#include "app/main_shell_view.h"
#include "app/main_window.h"
#include "link/controller_link.h"
#include "shell/wheel.h"

namespace kx {

struct InstalledEditors {
    std::vector<MainShell::Entry> entries;            // for the shell, in the registrations' order
    std::vector<std::function<void()>> showReplaced;  // to run after every load
};

// Makes each registered editor's view and wires it into the program: its live output views and
// their outputs, its reply handler, its wheel channels; entering it tells the live output its
// view, then runs its entry (or brings the view to the front).
InstalledEditors installEditors(std::vector<EditorRegistration> registrations, ControllerLink& link,
                                WheelRouter& wheel, MainWindow& window);

}  // namespace kx

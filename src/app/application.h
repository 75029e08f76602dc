#pragma once

#include <memory>

#include "app/loop_driver.h"
#include "app/main_shell_view.h"
#include "app/main_window.h"
#include "app/process_core.h"
#include "app/qt_platform.h"
#include "app/shell_host.h"
#include "app/single_instance.h"
#include "app/termination_signal.h"
#include "base/developer_mode.h"
#include "base/edit_history.h"
#include "base/paths.h"
#include "editor/editor_module.h"
#include "link/controller_link.h"
#include "materials/material_output.h"
#include "shell/appearance.h"
#include "shell/caret_rest.h"
#include "shell/undo_actions.h"
#include "shell/wheel.h"
#include "show/effect_images.h"
#include "show/show.h"
#include "show/show_recovery.h"
#include "transfer/file_transfer.h"

namespace kx {

// The program: owns the show, the link and the editor modules, runs the start-up sequence, then the
// main loop, and wires each subsystem's duties into the loop's tiers and the counted shutdown. It
// names no editor: the list in editors.cpp does.
class Application {
  public:
    explicit Application(const QString& programDir);
    ~Application();

    // Start-up, then the main loop; returns the process exit code.
    int run();

  private:
    bool startUp();
    void createViews();
    void showReplaced();
    void wireTitleBar();
    void wireTiers();
    void wireShutdown();
    void setCaption(const QString& path);

    QtPlatform m_platform;
    AppPaths m_paths;
    SingleInstance m_instance;
    Appearance m_appearance;
    DeveloperMode m_developer;
    ProcessCore m_core;
    WheelRouter m_wheel;
    CaretRest m_caretRest;

    Show m_show;
    EffectImages m_images{m_show, m_paths};
    // The run positions of the open bank's Materials, shared by the Effect and Material previews.
    MaterialOutput m_materialOutput;
    std::unique_ptr<ShowFile> m_showFile;
    std::unique_ptr<ShowRecovery> m_recovery;
    std::unique_ptr<ControllerLink> m_link;
    std::unique_ptr<FileTransfer> m_transfer;
    // Every editor's stores, for undo; it outlives the views that record into it.
    EditHistory m_history;
    std::unique_ptr<UndoActions> m_undo;

    std::unique_ptr<ShellHost> m_host;
    std::unique_ptr<EditorContext> m_context;
    // Before the window: a module's core outlives the view the window deletes.
    std::vector<EditorModule> m_modules;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<MainShell> m_shell;
    std::unique_ptr<LoopDriver> m_driver;
    std::unique_ptr<TerminationSignal> m_termination;
};

}  // namespace kx

#pragma once

#include <memory>

#include "app/base/developer_mode.h"
#include "app/base/paths.h"
#include "app/loop_driver.h"
#include "app/main_window.h"
#include "app/process_core.h"
#include "app/qt_platform.h"
#include "app/single_instance.h"

namespace kx {

// The program: owns every model and view, runs the start-up sequence, then the main loop, and
// wires each subsystem's duties into the loop's tiers and the counted shutdown.
class Application {
public:
    explicit Application(const QString& programDir);
    ~Application();

    // Start-up, then the main loop; returns the process exit code.
    int run();

private:
    bool startUp();
    void wireShutdown();

    QtPlatform m_platform;
    PlatformScope m_platformScope;
    AppPaths m_paths;
    SingleInstance m_instance;
    DeveloperMode m_developer;
    int m_libraryPages = 2;
    bool m_broadcastMode = false;
    QString m_showPath;
    ProcessCore m_core;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<LoopDriver> m_driver;
};

}  // namespace kx

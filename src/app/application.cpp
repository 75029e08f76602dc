#include "app/application.h"

#include <QApplication>

#include "app/base/common.h"
#include "app/base/file_io.h"
#include "app/caption.h"
#include "app/startup_checks.h"

namespace kx {

Application::Application(const QString& programDir)
    : m_platform(programDir),
      m_platformScope(m_platform),
      m_paths(AppPaths::under(programDir)),
      m_instance(programDir) {}

Application::~Application() = default;

int Application::run() {
    if (!startUp()) return 0;
    m_driver = std::make_unique<LoopDriver>(m_core);
    m_driver->start();
    return QApplication::exec();
}

bool Application::startUp() {
    // 1. Settings paths and start-up settings.
    m_libraryPages = 2;
    m_broadcastMode = false;
    // 2. The Show File's default path.
    m_showPath = m_paths.showFile;
    // 3. Caption for an empty path.
    m_window = std::make_unique<MainWindow>([this] {
        m_core.requestClose();
        if (m_driver) m_driver->reschedule();
    });
    m_window->setWindowTitle(mainCaption(" "));
    // 4. A second copy is refused before any view exists.
    if (refuseSecondCopy(m_instance)) return false;
    // 8. Views, starting with the title bar, which evaluates the developer settings.
    m_developer = evaluateDeveloperMode(m_paths);
    wireShutdown();
    // 10. Show the window, fixed size.
    m_window->showFixed();
    // 11. Let the window settle while handling events.
    Fun_Wait(100);
    return true;
}

void Application::wireShutdown() {
    ShutdownTasks& s = m_core.shutdown;
    s.hideMainWindow = [this] { m_window->hide(); };
    s.deleteStepClipboard = [this] { removeFile(m_paths.stepClipboard); };
    s.deleteMaterialClipboard = [this] { removeFile(m_paths.materialClipboard); };
    s.endProcess = [] { QCoreApplication::exit(0); };
}

}  // namespace kx

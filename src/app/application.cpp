#include "app/application.h"

#include <QApplication>

#include "app/caption.h"
#include "app/editor_install.h"
#include "app/editors.h"
#include "app/shutdown_save.h"
#include "app/startup_checks.h"
#include "app/title_bar_link.h"
#include "app/title_bar_status.h"
#include "app/title_bar_view.h"
#include "base/common.h"
#include "base/file_io.h"
#include "base/settings.h"
#include "fixtures/fixture_library.h"
#include "link/link_config.h"
#include "link/protocol.h"
#include "shell/wheel_hook.h"

namespace kx {

namespace {

inline const QString kBackupOnClose = QStringLiteral("关闭程序");

}  // namespace

Application::Application(const QString& programDir)
    : m_platform(programDir), m_paths(AppPaths::under(programDir)), m_instance(programDir) {}

Application::~Application() = default;

int Application::run() {
    if (!startUp()) return 0;
    m_driver = std::make_unique<LoopDriver>(m_core, m_platform);
    m_driver->start();
    return QApplication::exec();
}

void Application::setCaption(const QString& path) {
    m_window->setCaption(path);
}

bool Application::startUp() {
    // 1. Settings and appearance (the library always has its two pages).
    m_appearance = loadAppearance(m_paths);
    // 2-3. The Show File's default path is fixed in the paths; the caption for an empty path.
    auto requestClose = [this] {
        m_core.requestClose();
        if (m_driver) m_driver->reschedule();
    };
    m_window = std::make_unique<MainWindow>(requestClose, m_platform);
    m_window->setCaptionStyle(captionStyle(m_appearance));
    setCaption(" ");
    // 4. A second copy is refused before any view exists.
    if (refuseSecondCopy(m_instance, m_platform)) return false;
    m_termination = std::make_unique<TerminationSignal>([this] {
        m_core.requestTermination();
        if (m_driver) m_driver->reschedule();
    });
    // 5. The mouse wheel.
    m_developer = evaluateDeveloperMode(m_paths);
    m_wheel.wheelDisabled = m_developer.wheelDisabled;
    m_wheel.closing = [this] { return m_core.closing(); };
    // 6. Channel Function names, with the custom ones.
    m_show.functionNames = loadChannelFunctionNames(m_paths.customFunctionNames);
    // 7. The blank template, from the show while it is still all defaults.
    ShowFileEvents events;
    events.showReplaced = [this] { showReplaced(); };
    events.written = [this] { m_recovery->saved(m_showFile->writtenDigest()); };
    events.operationRunning = [this](bool running) {
        if (running) {
            m_platform.holdInput();
        } else {
            m_platform.releaseInput();
        }
        if (m_shell) m_shell->titleBar().setEnabled(!running);
    };
    m_showFile = std::make_unique<ShowFile>(
        makeShowFile(m_show, m_images, m_paths, {m_platform, m_platform}, std::move(events)));
    m_recovery = std::make_unique<ShowRecovery>(m_show, m_images, m_paths, m_platform);
    // The show changes only through the technician's input and the Controller's replies.
    m_platform.onInput([this] {
        m_recovery->touched();
        m_caretRest.input();
    });
    m_showFile->createBlankTemplate(m_platform);
    // 8. The link, then the views.
    m_link = std::make_unique<ControllerLink>(readLinkConfig(m_paths.systemIni),
                                              Waiter{m_platform, m_platform}, m_platform);
    m_link->addReplyHandler(
        [this](std::uint8_t, std::span<const std::uint8_t>) { m_recovery->touched(); },
        reply_order::kShowRecovery);
    m_transfer = std::make_unique<FileTransfer>(*m_link);
    m_transfer->shuttingDown = [this] { return m_core.closing(); };
    m_transfer->addRunningObserver([this](bool running) {
        if (m_shell) m_shell->titleBar().setTransferRunning(running);
    });
    m_undo = std::make_unique<UndoActions>(m_history, m_platform);
    createViews();
    // 9. The Show File, then the edits a crash kept from being saved, when there are any.
    if (m_showFile->loadShow(m_platform) != LoadResult::Loaded) m_recovery->loaded();
    m_recovery->offerRestore(*m_showFile, m_platform);
    wireTiers();
    wireShutdown();
    // 10-11. Show the window, fixed size, and let it settle while handling events.
    m_window->showFixed();
    Fun_Wait({m_platform, m_platform}, 100);
    return true;
}

void Application::createViews() {
    m_shell = std::make_unique<MainShell>(*m_window, m_paths, m_appearance);
    m_host = std::make_unique<ShellHost>(*m_shell, m_developer);
    m_context = std::make_unique<EditorContext>(EditorContext{.show = m_show,
                                                              .images = m_images,
                                                              .materialOutput = m_materialOutput,
                                                              .showFile = *m_showFile,
                                                              .paths = m_paths,
                                                              .appearance = m_appearance,
                                                              .pictures = m_shell->pictures(),
                                                              .dialogs = {m_platform, m_platform},
                                                              .link = *m_link,
                                                              .transfer = *m_transfer,
                                                              .wheel = m_wheel,
                                                              .history = &m_history,
                                                              .host = *m_host});
    m_modules = makeEditors(*m_context);
    m_shell->createViews(installModules(m_modules, *m_link, m_wheel, *m_window, m_undo.get()));
    wireTitleBar();
    hookWheel(m_window.get(), m_wheel);
}

void Application::showReplaced() {
    m_recovery->loaded();
    m_history.clear();
    setCaption(m_showFile->defaultPath());
    for (const EditorModule& m : m_modules)
        if (m.showReplaced) m.showReplaced();
}

void Application::wireTitleBar() {
    TitleBarView& bar = m_shell->titleBar();
    bar.setDeveloperMode(m_developer.on);
    connectTitleBarToLink(bar, *m_link);

    wireStatusLine(bar, *m_link, *m_transfer, *m_showFile, m_platform);
    connectTitleActions(bar, m_modules);

    QObject::connect(&m_shell->splash(), &SplashView::commandCbClicked,
                     [this] { m_link->sendCommand(cmd::kStartWindow); });
}

void Application::wireTiers() {
    TierTasks& t = m_core.tiers;
    t.drumIndicator = periodicWork(m_modules, Tier::Every10ms);
    t.arrowKeys = [this] { m_wheel.pollArrowKeys(m_platform); };
    t.liveOutput = [this] { m_link->outputTick(); };
    t.beatWarning = periodicWork(m_modules, Tier::Every250ms);
    t.announce = [this] {
        m_link->announceTick();
        m_recovery->tick();
    };
    m_link->sendFramesFromThread([this] { return m_core.dueTime(ProcessCore::kOutputTier); });
    TierWork& w = m_core.work;
    w.drumIndicator = periodicBusy(m_modules, Tier::Every10ms);
    w.arrowKeys = [this] { return m_wheel.wheelTarget >= 1 && m_platform.anyKeyDown(); };
    w.liveOutput = [this] { return m_link->live().tickHasWork(); };
    w.beatWarning = periodicBusy(m_modules, Tier::Every250ms);
}

void Application::wireShutdown() {
    ShutdownTasks& s = m_core.shutdown;
    s.hideMainWindow = [this] {
        for (const EditorModule& m : m_modules)
            if (m.closing) m.closing();
        m_window->hide();
    };
    s.leaveNotice = [this] { m_link->releaseOnlineMode(); };
    s.saveShow = [this](bool mayAsk) { return saveBeforeEnd(*m_showFile, m_platform, mayAsk); };
    s.deleteStepClipboard = [this] { removeFile(m_paths.stepClipboard); };
    s.backupShow = [this] { m_showFile->backupShow(m_platform, kBackupOnClose); };
    s.closeSockets = [this] { m_link->Fun_关闭_Sock(); };
    s.deleteMaterialClipboard = [this] { removeFile(m_paths.materialClipboard); };
    s.endProcess = [] { QCoreApplication::exit(0); };
    s.showMainWindow = [this] { m_window->show(); };
    s.allowReconnect = [this] { m_link->cancelRelease(); };
}

}  // namespace kx

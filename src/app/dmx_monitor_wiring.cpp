#include "app/dmx_monitor_wiring.h"

#include <QShortcut>
#include <memory>

#include "app/title_bar_view.h"

namespace kx {

namespace {

bool framesReachController(const ControllerLink& link) {
    return link.connected() && !link.released();
}

}  // namespace

void toggleDmxMonitor(DmxMonitorWindow& monitor, const QWidget& mainWindow) {
    if (monitor.isVisible()) {
        monitor.close();
        return;
    }
    monitor.placeBeside(mainWindow);
    monitor.show();
    monitor.raise();
    monitor.activateWindow();
}

DmxMonitorWindow* installDmxMonitor(ControllerLink& link, QWidget& mainWindow, TitleBarView& bar,
                                    const Show& show, const AppPaths& paths) {
    auto* monitor = new DmxMonitorWindow(show.library, show.functionNames, paths, &mainWindow);
    monitor->setOnline(framesReachController(link));

    auto observer = std::make_shared<int>(0);
    QObject::connect(monitor, &DmxMonitorWindow::opened, monitor, [monitor, &link, observer] {
        if (*observer != 0) return;
        monitor->setOnline(framesReachController(link));
        monitor->showFrame(link.live().frame());
        *observer = link.live().addTickObserver(
            [monitor](int, const DmxFrame& frame) { monitor->showFrame(frame); });
    });
    QObject::connect(monitor, &DmxMonitorWindow::closed, monitor, [&link, observer] {
        link.live().removeTickObserver(*observer);
        *observer = 0;
    });
    QObject::connect(monitor, &QObject::destroyed, &link,
                     [&link, observer] { link.live().removeTickObserver(*observer); });
    QObject::connect(&link, &ControllerLink::connectionChanged, monitor,
                     [monitor, &link] { monitor->setOnline(framesReachController(link)); });

    auto* f9 = new QShortcut(QKeySequence(Qt::Key_F9), &mainWindow);
    f9->setContext(Qt::ApplicationShortcut);
    QObject::connect(f9, &QShortcut::activated, monitor,
                     [monitor, &mainWindow] { toggleDmxMonitor(*monitor, mainWindow); });
    QObject::connect(&bar, &TitleBarView::monitorClicked, monitor,
                     [monitor, &mainWindow] { toggleDmxMonitor(*monitor, mainWindow); });
    return monitor;
}

}  // namespace kx

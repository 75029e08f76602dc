#include "monitor/dmx_monitor_module.h"

#include <QShortcut>

#include "monitor/dmx_monitor_window.h"

namespace kx {

namespace {

bool framesReachController(const ControllerLink& link) {
    return link.connected() && !link.released();
}

// Shows each frame the tick composed while the window is open.
void observeTicks(DmxMonitorWindow* monitor, ControllerLink& link) {
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

EditorModule makeDmxMonitor(EditorContext& ctx) {
    ControllerLink& link = ctx.link;
    QWidget& mainWindow = ctx.host.mainWindow();
    auto* monitor =
        new DmxMonitorWindow(ctx.show.library, ctx.show.functionNames, ctx.paths, &mainWindow);
    monitor->setOnline(framesReachController(link));
    observeTicks(monitor, link);
    QObject::connect(&link, &ControllerLink::connectionChanged, monitor,
                     [monitor, &link] { monitor->setOnline(framesReachController(link)); });
    auto toggle = [monitor, &mainWindow] { toggleDmxMonitor(*monitor, mainWindow); };
    auto* f9 = new QShortcut(QKeySequence(Qt::Key_F9), &mainWindow);
    f9->setContext(Qt::ApplicationShortcut);
    QObject::connect(f9, &QShortcut::activated, monitor, toggle);

    EditorModule m;
    m.id = EditorId{"dmx-monitor"};
    m.title = "DMX监视";
    m.titleActions = {{TitleAction::Monitor, toggle}};
    m.closing = [monitor] { monitor->hide(); };
    return m;
}

}  // namespace kx

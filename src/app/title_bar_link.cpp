#include "app/title_bar_link.h"

#include "app/title_bar_view.h"
#include "link/controller_link.h"

namespace kx {

void connectTitleBarToLink(TitleBarView& bar, ControllerLink& link) {
    bar.setCounters(link.sendCount(), link.receiveCount());
    QObject::connect(&bar, &TitleBarView::connectClicked, &link,
                     [&link] { link.toggleConnection(); });
    QObject::connect(&bar, &TitleBarView::broadcastModeChanged, &link,
                     [&link](bool on) { link.setBroadcastMode(on); });
    QObject::connect(&link, &ControllerLink::connectionChanged, &bar,
                     [&bar](bool connected) { bar.setConnected(connected); });
    QObject::connect(&link, &ControllerLink::busyChanged, &bar,
                     [&bar](bool busy) { bar.setConnectEnabled(!busy); });
    QObject::connect(&link, &ControllerLink::countersChanged, &bar,
                     [&bar, &link] { bar.setCounters(link.sendCount(), link.receiveCount()); });
}

}  // namespace kx

#include "monitor/dmx_monitor_state.h"

#include <algorithm>

namespace kx {

namespace {

std::uint8_t mix(int from, int to, int value) {
    return static_cast<std::uint8_t>(from + (to - from) * value / 255);
}

}  // namespace

QString monitorCaption(bool online) {
    return online ? kMonitorTitle : kMonitorTitle + " - " + kOfflinePreview;
}

QPoint besidePosition(QRect mainFrame, QSize monitorFrame, QRect screen) {
    const QPoint right(mainFrame.right() + 1, mainFrame.top());
    if (screen.isEmpty()) return right;
    QPoint at = right;
    if (right.x() + monitorFrame.width() > screen.right() + 1) {
        const int left = mainFrame.left() - monitorFrame.width();
        at.setX(left >= screen.left() ? left : screen.right() + 1 - monitorFrame.width());
    }
    at.setX(std::max(at.x(), screen.left()));
    at.setY(std::clamp(at.y(), screen.top(),
                       std::max(screen.top(), screen.bottom() + 1 - monitorFrame.height())));
    return at;
}

int firstChannelOfPort(int port) {
    return port * kChannelsPerPort + 1;
}

CellShade cellShade(int value) {
    CellShade s;
    s.back = {mix(0x1c, 0xff, value), mix(0x22, 0xb0, value), mix(0x2e, 0x20, value)};
    if (value == 0) {
        s.text = {0x70, 0x78, 0x88};
    } else if (value < 140) {
        s.text = {0xff, 0xff, 0xff};
    } else {
        s.text = {0x10, 0x10, 0x10};
    }
    return s;
}

void changedChannels(const DmxFrame& shown, const DmxFrame& next, int port,
                     std::vector<int>& changed) {
    changed.clear();
    const int first = firstChannelOfPort(port);
    for (int i = first; i < first + kChannelsPerPort; ++i) {
        if (shown[static_cast<std::size_t>(i)] != next[static_cast<std::size_t>(i)])
            changed.push_back(i);
    }
}

bool samePatch(const FixtureLibrary& a, const FixtureLibrary& b) {
    for (int page = 0; page < libraryPages; ++page) {
        for (int n = 1; n <= kFixturesPerPage; ++n) {
            const Fixture& x = a.at(page, n);
            const Fixture& y = b.at(page, n);
            if (x.startAddress != y.startAddress || x.channelCount != y.channelCount ||
                x.port != y.port || x.functions != y.functions || x.name != y.name)
                return false;
        }
    }
    return true;
}

bool sameNames(const ChannelFunctionNames& a, const ChannelFunctionNames& b) {
    return a.names == b.names;
}

bool lampNeedsRedraw(const LampLook& shown, const LampLook& next) {
    return next.strobe > 0 || !(shown == next);
}

}  // namespace kx

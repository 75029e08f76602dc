#include "monitor/channel_map.h"

#include <QStringList>
#include <algorithm>

#include "monitor/lamp_look.h"

namespace kx {

namespace {

QString ownerText(const ChannelOwner& o, const FixtureLibrary& library,
                  const ChannelFunctionNames& names) {
    const Fixture& f = library.at(o.page, o.number);
    QString text = fixtureText(library, o.page, o.number);
    text += QStringLiteral(" 通道 %1 ").arg(o.channel);
    const int code = f.functions[static_cast<std::size_t>(o.channel - 1)];
    text += names[code].isEmpty() ? QStringLiteral("#%1").arg(code) : names[code];
    if (o.overruns) text += QStringLiteral(" (越界)");
    return text;
}

}  // namespace

int portOfChannel(int index) {
    return std::clamp((index - 1) / kChannelsPerPort, 0, kMonitorPorts - 1);
}

int addressOfChannel(int index) {
    return (index - 1) % kChannelsPerPort + 1;
}

QString channelLabel(int index) {
    return portName(portOfChannel(index)) + "-" + QString::number(addressOfChannel(index));
}

QString describeChannel(int index, const ChannelMap& map, const FixtureLibrary& library,
                        const ChannelFunctionNames& names) {
    QString text = channelLabel(index) + "  ";
    const auto& owners = map.owners(index);
    if (owners.empty()) return text + QStringLiteral("未配接");
    if (owners.size() > 1) text += QStringLiteral("重叠: ");
    QStringList parts;
    for (const ChannelOwner& o : owners)
        parts << ownerText(o, library, names);
    return text + parts.join(QStringLiteral(" / "));
}

}  // namespace kx

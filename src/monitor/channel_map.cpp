#include "monitor/channel_map.h"

#include <QStringList>
#include <algorithm>

#include "monitor/lamp_look.h"

namespace kx {

namespace {

const std::vector<ChannelOwner> kNoOwners;

QString ownerText(const ChannelOwner& o, const FixtureLibrary& library,
                  const ChannelFunctionNames& names) {
    const Fixture& f = library.at(o.page, o.number);
    QString text;
    if (o.page > 0) text += QStringLiteral("页%1 ").arg(o.page + 1);
    text += QStringLiteral("灯具 %1").arg(o.number);
    if (!f.name.isEmpty()) text += QStringLiteral(" [%1]").arg(f.name);
    text += QStringLiteral(" 通道 %1 ").arg(o.channel);
    const int code = f.functions[static_cast<std::size_t>(o.channel - 1)];
    text += names[code].isEmpty() ? QStringLiteral("#%1").arg(code) : names[code];
    if (o.overruns) text += QStringLiteral(" (越界)");
    return text;
}

}  // namespace

const std::vector<ChannelOwner>& ChannelMap::owners(int index) const {
    if (index < 1 || index > kTransmittedChannels || m_owners.empty()) return kNoOwners;
    return m_owners[static_cast<std::size_t>(index)];
}

bool ChannelMap::overruns(int index) const {
    const auto& o = owners(index);
    return std::any_of(o.begin(), o.end(), [](const ChannelOwner& c) { return c.overruns; });
}

ChannelMap ChannelMap::of(const FixtureLibrary& library) {
    ChannelMap map;
    map.m_owners.resize(kTransmittedChannels + 1);
    for (int page = 0; page < libraryPages; ++page) {
        for (int n = 1; n <= kFixturesPerPage; ++n) {
            const Fixture& f = library.at(page, n);
            if (!isPatched(f)) continue;
            const int count = std::min<int>(f.channelCount, kMaxFixtureChannels);
            for (int ch = 1; ch <= count; ++ch) {
                const int index = frameIndex(f, ch);
                if (index < 1 || index > kTransmittedChannels) continue;
                const bool past = f.startAddress + ch - 1 > kChannelsPerPort;
                map.m_owners[static_cast<std::size_t>(index)].push_back({page, n, ch, past});
            }
        }
    }
    return map;
}

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

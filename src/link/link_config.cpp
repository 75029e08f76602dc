#include "link/link_config.h"

#include "base/settings.h"

namespace kx {

namespace {

bool isLoopbackHost(const QString& host) {
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0) return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

}  // namespace

LinkConfig readLinkConfig(const QString& systemIni, const LinkDefaults& defaults) {
    LinkConfig config;
    config.broadcastHost = defaults.broadcastHost;
    config.broadcastPort = defaults.broadcastPort;
    config.privatePort = defaults.privatePort;

    config.commandHost = Fun_IniRead(systemIni, QStringLiteral("WIFI_IP")).trimmed();
    if (config.commandHost.isEmpty()) {
        config.commandHost = defaults.broadcastHost;
        config.notes << QStringLiteral("WIFI_IP absent: commands go to %1").arg(config.commandHost);
    }

    const QString portText = Fun_IniRead(systemIni, QStringLiteral("WIFI_Port")).trimmed();
    bool ok = false;
    const int port = portText.toInt(&ok);
    if (ok && port >= 1 && port <= 65535) {
        config.commandPort = port;
    } else {
        config.commandPort = kControllerPort;
        config.notes << QStringLiteral("WIFI_Port \"%1\" unusable: commands go to port %2")
                            .arg(portText)
                            .arg(kControllerPort);
    }

    if (isLoopbackHost(config.commandHost)) {
        config.broadcastHost = config.commandHost;
        config.broadcastPort = config.commandPort;
        config.localAddress = QHostAddress(QHostAddress::LocalHost);
    }
    return config;
}

}  // namespace kx

#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

namespace kx {

// Where the link sends and listens.
struct LinkConfig {
    // Command socket in normal mode ("WIFI_IP":"WIFI_Port").
    QString commandHost;
    int commandPort = 0;
    // Command socket in broadcast mode.
    QString broadcastHost;
    int broadcastPort = 0;
    // Private port for the Controller's keep-alive probes and diagnostic text (0: any free port).
    int privatePort = 0;
    // Where the sockets bind.
    QHostAddress localAddress{QHostAddress::AnyIPv4};
    // What reading the settings decided on its own, for the log.
    QStringList notes;
};

// The program's own endpoints.
inline constexpr char kBroadcastHost[] = "255.255.255.255";
inline constexpr int kControllerPort = 51800;
inline constexpr int kPrivatePort = 51800;

struct LinkDefaults {
    QString broadcastHost = QString::fromLatin1(kBroadcastHost);
    int broadcastPort = kControllerPort;
    int privatePort = kPrivatePort;
};

// The endpoints from SYSTEM.INI. "WIFI_IP" absent or empty: the broadcast host. "WIFI_Port"
// absent, not a number or outside 1-65535: the Controller's usual port 51800. A loopback
// "WIFI_IP" keeps everything on loopback: broadcast mode then goes to the command endpoint too
// (the broadcast port would be the tool's own private port on the same host) and the sockets bind
// to loopback only.
LinkConfig readLinkConfig(const QString& systemIni, const LinkDefaults& defaults = {});

}  // namespace kx

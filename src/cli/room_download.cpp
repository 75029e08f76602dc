#include "cli/room_download.h"

#include "cli/headless_platform.h"
#include "link/controller_link.h"
#include "transfer/file_transfer.h"

namespace kx {

QString lastLogMessage(const QString& log) {
    const int at = log.lastIndexOf(QStringLiteral("->"));
    if (at < 0) return {};
    const int end = log.indexOf('\r', at);
    return log.mid(at, end < 0 ? -1 : end - at).trimmed();
}

RoomOutcome downloadToRoom(const Room& room, const QString& showPath, const std::atomic<bool>& stop,
                           const std::function<void(const TransferProgress&)>& progress) {
    HeadlessPlatform platform;
    const std::uint32_t start = platform.milliseconds();
    RoomOutcome outcome;
    outcome.room = room;

    // Both command endpoints are the room's own Controller: this tool never broadcasts.
    LinkConfig config;
    config.commandHost = room.address.toString();
    config.commandPort = room.port;
    config.broadcastHost = config.commandHost;
    config.broadcastPort = room.port;
    config.privatePort = 0;
    config.localAddress = room.address.isLoopback() ? QHostAddress(QHostAddress::LocalHost)
                                                    : QHostAddress(QHostAddress::AnyIPv4);
    ControllerLink link(config, Waiter{platform, platform}, platform);
    FileTransfer transfer(link);
    transfer.shuttingDown = [&stop] { return stop.load(); };
    if (progress) transfer.addProgressObserver(progress);

    TextLog log;
    if (!stop) link.toggleConnection();
    if (link.connected()) {
        if (!stop) transfer.downloadFile(FileType::Show, showPath, log);
        link.releaseOnlineMode();
    } else if (!stop) {
        appendLog(log, transfer_log::kHandshakeFailed);
    }
    link.Fun_关闭_Sock();

    outcome.verified = transfer.transferSucceeded() == 1;
    outcome.interrupted = !outcome.verified && stop;
    outcome.result = outcome.interrupted ? kLogInterrupted : lastLogMessage(log.text());
    outcome.elapsedMs = platform.milliseconds() - start;
    outcome.attempts = 1;
    return outcome;
}

}  // namespace kx

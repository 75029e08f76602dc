#pragma once

#include <QString>
#include <atomic>
#include <functional>

#include "cli/room_list.h"
#include "transfer/transfer_progress.h"

namespace kx {

// What happened to one room: the last thing its transfer said ("->下载成功", "->握手失败",
// "->校验失败", ...), how long it took and how many tries it had.
struct RoomOutcome {
    Room room;
    bool verified = false;
    bool interrupted = false;
    QString result;
    std::uint32_t elapsedMs = 0;
    int attempts = 0;
};

inline const QString kLogInterrupted = QStringLiteral("->下载中断");

// The last "->" message of a transfer log; "" when there is none.
QString lastLogMessage(const QString& log);

// Connects to the room's Controller (sending to its address only, from a socket of its own),
// downloads the Show File at showPath as the window does, with its resends and its
// verification, and releases the Controller whatever came of it. Runs on the calling thread,
// which must have an event dispatcher; stop makes the transfer end after its current block.
RoomOutcome downloadToRoom(const Room& room, const QString& showPath, const std::atomic<bool>& stop,
                           const std::function<void(const TransferProgress&)>& progress = {});

}  // namespace kx
